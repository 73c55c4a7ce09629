#pragma once

#include <QIcon>

// The menu entry's icon, for the windows: from the icon theme when the
// program is installed where the desktop looks, else from the hicolor PNGs
// installed beside it (a package unpacked anywhere, a prefix of its own).
// Empty in the build's staging, which installs no icon.
QIcon IkonaProgramu();
