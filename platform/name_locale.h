#pragma once

namespace tessarin {

// Makes the character set of names UTF-8 (LC_CTYPE of the environment where it is UTF-8,
// else C.UTF-8), so that libarchive gives every member its name: in a locale of ASCII
// alone a name beyond it has none. Called once at start-up, before any thread.
void useUtf8Names();

} // namespace tessarin
