#pragma once

namespace tvr::platform {

// The thread that runs the windows. Work the core hands to a worker thread (an undo
// step's design made ahead) still reaches code that calls the window side (the property
// window, the work notifier): such calls are made on that thread only, never from a
// worker, where a Qt widget would be touched off its own thread.
//
// The thread that starts the process counts until start-up records its own.
void RecordWindowThread();
bool IsWindowThread();

}  // namespace tvr::platform
