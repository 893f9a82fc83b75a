#pragma once
// The program's ending counter: 0 until the end begins (after the message loop, or in
// FatalError). While it is above 0, a raised event reaches no handler: an error box or the
// shutdown may still pump messages for the window, and nothing of the program may run then.

namespace icotake {

void RaiseEnding();
bool IsEnding();

}  // namespace icotake
