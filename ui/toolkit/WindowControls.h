#pragma once
// Building the windows' controls at their design places, in pixels.
#include <QRect>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ui {

// Labels size themselves to their caption from the top-left corner they were given
// and hide what lies below them. `room` is the width a caption may take: the design
// width of a fixed caption, the free space for one that changes; a caption wider
// than that in the window's font is drawn narrowed to fit it.
// `designWidth` (the room where not given) and the design height of 12 pixels are the
// least the label covers, so that nothing beneath it shows through its design place.
QLabel* makeLabel(QWidget* parent, int left, int top, int room, const QString& caption, int designWidth = -1);
void setLabelCaption(QLabel* label, const QString& caption);

// Fields take only code-page-932 text.
QLineEdit* makeEdit(QWidget* parent, const QRect& place, const QString& text);
QPushButton* makeButton(QWidget* parent, const QRect& place, const QString& caption);
// Check boxes, like labels, hide what lies below them.
QCheckBox* makeCheckBox(QWidget* parent, const QRect& place, const QString& caption);

}  // namespace ui
