// Placeholder until the project commands land.
#include "ui/Unit1.h"
void TForm1::N2Click() {}
void TForm1::N1Click() {}
void TForm1::N3Click() {}
void TForm1::SaveUpdateProject() {}
void TForm1::NewOpenProject(const QStringList&) {}
void TForm1::Exit1Click() {}
bool TForm1::FormClose() { return true; }
