// The copier's controls: what a click on each control does, the part
// selection, the program choice, and the per-frame pointer handling with
// the two pop-up menus. Plain functions over the application state, so
// tests drive them frame by frame without a window.
#pragma once

// Makes part p (0-12) current in user mode; 0 restarts the demo.
void SelectPart(int p);
// Performs the action of control code 0-30 (MouseCoordsToUIFunction).
void PerformClick(int code);
// Loads program row 0-4 of the program menu and shows it as part 13.
void ChooseProgram(int row);
// One frame of pointer handling from a VXE_GetMouse reading: position,
// click sound and control, then the open pop-up (drawn and hit-tested).
void HandleMouse(int x, int y, int buttons);
