#pragma once

// Scripted answers for message boxes, fed by the test driver.

namespace posix {

// The next message box answers with this value at once, without showing a window.
void QueueMessageBoxAnswer(int answer);

// Forgets the answers not used yet.
void ClearMessageBoxAnswers();

} // namespace posix
