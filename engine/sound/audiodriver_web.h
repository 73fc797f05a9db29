// The browser's audio device: Web Audio, fed from the program's own thread.
// A page has no audio thread to pull blocks, so the platform backend calls
// the pump once a frame and it mixes as many blocks as the page wants
// queued ahead. audiodriver.cpp opens and closes it through the device
// calls of audiodriver_sdl.h, which this file provides in the browser.
#pragma once

// Mixes and queues blocks until the page has enough sound ahead; does
// nothing while no device is open.
void audiodriver_web_pump();
