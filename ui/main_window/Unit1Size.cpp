// The main window's size operations, applied through the settings window's fields.
#include "core/size_fields.h"
#include "ui/SettingsSizeFields.h"
#include "ui/Unit1.h"

core::SizeFieldsHost& TForm1::sizeFields() {
    // Holds no state of its own: it reaches the fields through Form1 and Form2.
    static ui::SettingsSizeFields fields;
    return fields;
}
