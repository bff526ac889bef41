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

// Labels size themselves to their caption from the top-left corner they were given.
QLabel* makeLabel(QWidget* parent, int left, int top, const QString& caption);
void setLabelCaption(QLabel* label, const QString& caption);

// Fields take only code-page-932 text.
QLineEdit* makeEdit(QWidget* parent, const QRect& place, const QString& text);
QPushButton* makeButton(QWidget* parent, const QRect& place, const QString& caption);
QCheckBox* makeCheckBox(QWidget* parent, const QRect& place, const QString& caption);

}  // namespace ui
