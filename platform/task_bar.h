// Keeps a top-level window out of the desktop's task bar and pager. Call it
// before the window is first shown. Does nothing where there is no X server.
#pragma once

class QWidget;

namespace stonerush {

void keepOutOfTaskBar(QWidget* window);

}  // namespace stonerush
