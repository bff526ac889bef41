// The main window's size operations, applied through the settings window's fields.
#include "core/map/size_fields.h"
#include "ui/main_window/Unit1.h"
#include "ui/settings_window/SettingsSizeFields.h"

core::SizeFieldsHost& TForm1::sizeFields() {
    // Holds no state of its own: it reaches the fields through Form1 and Form2.
    static ui::SettingsSizeFields fields;
    return fields;
}
