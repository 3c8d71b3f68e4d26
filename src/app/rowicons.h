#pragma once

#include <QIcon>

namespace app {

/// The small image of a file row by its index (see rowIconIndex): the tag kind as a coloured
/// badge, with a red corner mark for unsaved changes.
QIcon rowIcon(int index);

} // namespace app
