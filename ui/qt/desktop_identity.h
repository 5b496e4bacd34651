// How the desktop knows the program: its name, its desktop entry, and its windows' icon.
#pragma once

// Names the application and its desktop entry at once; gives every window the game's icon only
// after the first window has painted its first frame. The icon serves the task bar and the window
// switcher, and decoding its six sizes and sending them to the X server would hold that frame back.
void setUpDesktopIdentity();
