#pragma once

namespace tarnwick::test {

/// Readies the display the test program's windows go to; false (the reason on standard error)
/// when there is none. Call once, before the toolkit starts.
bool StartTestDisplay();

/// Ends what StartTestDisplay started and removes its scratch files.
void StopTestDisplay();

/// Ends the display at once, from any thread, for a program about to end itself.
void EndTestDisplayAtOnce();

}  // namespace tarnwick::test
