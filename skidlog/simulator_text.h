// Names as the simulator shows them. Player, car and track names are stored
// with ^-escapes: ^v | ^a * ^c : ^d \ ^s / ^q ? ^t " ^l < ^r > ^h # ^^ ^,
// ^0 to ^9 colour codes (dropped), and ^L ^G ^C ^J ^E ^T ^B ^H ^S ^K that
// switch the code page of the bytes that follow (Latin-1 at the start).
#ifndef SKIDLOG_SKIDLOG_SIMULATOR_TEXT_H_
#define SKIDLOG_SKIDLOG_SIMULATOR_TEXT_H_

#include <string>
#include <string_view>

namespace skidlog {

// The text in UTF-8; bytes that do not decode become U+FFFD.
std::string decodeSimulatorText(std::string_view raw);

}  // namespace skidlog

#endif  // SKIDLOG_SKIDLOG_SIMULATOR_TEXT_H_
