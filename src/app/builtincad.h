#pragma once

#include <memory>

class QWidget;

// Starts the built-in drawing host with the sample drawing where no CAD is
// reachable through COM (every platform but Windows) and shows its drawing
// window beside `mainWindow`; a .dxf file among the program's arguments
// is opened in it instead. The host runs as long as the returned object
// lives; on Windows nothing starts and the result is empty.
std::shared_ptr<void> startBuiltInCad(QWidget *mainWindow);
