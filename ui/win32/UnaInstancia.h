#pragma once
// One copy of the program per session: two would both poll F12 and open the
// drawer twice per press.

// True when another copy already runs; it has then been asked to show its
// window, and this copy should end without touching anything.
bool HayOtraInstancia();
