# Read by CTest before it lists the tests of a directory: test programs that start Qt's GUI
# layer are listed and run without a display, on the offscreen platform.
set(ENV{QT_QPA_PLATFORM} offscreen)
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
