#pragma once

// Setting the text of whichever kind of control a screen hands over.

#include <string>

class QWidget;

namespace medrec::common {

// Sets the text of an edit box (QLineEdit), a combo box (QComboBox: the edit text when it is
// editable, else the item with that text, none when there is no such item) or a panel
// (QLabel). Other controls, and nullptr, are left alone.
void SetControlText(QWidget *control, const std::string &text);

// The text of the same kinds of control; empty text for any other.
std::string ControlText(const QWidget *control);

} // namespace medrec::common
