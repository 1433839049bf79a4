#pragma once

#include <initializer_list>

class KelmaForm;
class QHBoxLayout;
class QPushButton;

/// The buttons at the foot of a screen, to the right. Enter presses none of
/// them: each screen binds its own keys.
QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons);

/// "F5-Kayıt" and "F6-İptal" with their keys, as a record screen has them.
struct SaveCancel
{
    QPushButton *save;
    QPushButton *cancel;
    QHBoxLayout *row;
};
SaveCancel saveCancelButtons(KelmaForm &form);
