// Placeholder until the map view handlers land.
#include "ui/Unit1.h"
#include <QPainter>
void TForm1::DrawGrid1DrawCell(QPainter&, int, int, const QRect&, bool) {}
void TForm1::DrawGrid1SelectCell(int, int, bool&) {}
void TForm1::DrawGrid1MouseUp(Qt::MouseButton) {}
void TForm1::CheckBox1Click() {}
void TForm1::CheckBox4Click() {}
void TForm1::Button2Click() {}
