#pragma once
// The program's icon (a sound wave with a play mark) for its windows: the
// same pictures the desktop shows in its menus, built into the program.

#include <QIcon>

namespace lirabox::qt::art {

QIcon windowIcon();

}  // namespace lirabox::qt::art
