#pragma once

class QCoreApplication;

namespace qttranslations {

/// Loads Qt's own Turkish texts (buttons of message boxes, the file and
/// printer dialogs) from the system's Qt translations. False when they are
/// not installed; the dialogs then stay in English.
bool installTurkish(QCoreApplication &app);

} // namespace qttranslations
