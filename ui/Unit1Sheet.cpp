// Placeholder until the tile-sheet commands land.
#include "ui/Unit1.h"
void TForm1::Button1Click() {}
void TForm1::N4Click() {}
void TForm1::LoadImage() {}
void TForm1::DrawFrameTile() {}
void TForm1::Image1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}
void TForm1::Edit1Exit() {}
void TForm1::Edit5Change() {}
void TForm1::Edit6Change() {}
