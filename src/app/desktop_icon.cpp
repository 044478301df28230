#include "app/desktop_files.h"

// The window icon of the program as a scalable picture, for the desktop's menus and
// file managers: a navy tile with a run of two steel busbar lengths, an elbow upwards
// and a copper tap-off box, on the same 64 by 64 grid the window icon is drawn on.
std::string ProgramIconSvg() {
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">
  <rect width="64" height="64" rx="10.67" fill="#122a56"/>
  <g stroke="#43536a">
    <polygon fill="#7896be" points="8,50 42,33 42,24 8,41"/>
    <polygon fill="#9cc3f7" points="8,41 42,24 50.1,19.5 16.1,36.5"/>
    <polygon fill="#647d9e" points="42,33 50.1,28.5 50.1,19.5 42,24"/>
  </g>
  <g stroke="#43536a">
    <polygon fill="#9cc3f7" points="42,24 42,2 50.1,-2.5 50.1,19.5"/>
    <polygon fill="#647d9e" points="42,11 50.1,6.5 50.1,-2.5 42,2"/>
  </g>
  <g stroke="#724321">
    <polygon fill="#cd783c" points="20,44 26,41 26,26 20,29"/>
    <polygon fill="#ff9c56" points="20,29 26,26 39.5,18.5 33.5,21.5"/>
    <polygon fill="#ab6432" points="26,41 39.5,33.5 39.5,18.5 26,26"/>
  </g>
</svg>
)";
}
