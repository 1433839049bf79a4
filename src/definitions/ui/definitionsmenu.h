#pragma once

class FormRunner;
class QWidget;
class Session;

/// What the main menu's "Parametreler" items open. Each shows its screen
/// modally through the runner and returns the screen's tag.
namespace definitions {

/// "Genel Tanımlar". Tag 1 after a save: the settings row is committed and the
/// session's workstation values (working year, colour letter, reading mode,
/// local folder) are the new ones; the main window then refreshes.
int showGenelTanimlar(Session &session, FormRunner &runner, QWidget *parent);
/// "Birim Tanımları".
int showBirimTanimlari(Session &session, FormRunner &runner, QWidget *parent);
/// "Kurum Tanımları".
int showKurumTanimlari(Session &session, FormRunner &runner, QWidget *parent);
/// "Evrak Türü Tanımları".
int showEvrakTuruTanimlari(Session &session, FormRunner &runner, QWidget *parent);
/// "Arşiv Evrak Cinsi Tanımları".
int showEvrakCinsiTanimlari(Session &session, FormRunner &runner, QWidget *parent);

} // namespace definitions
