#include "skidlog/simulator_text.h"

#include "system/system.h"

namespace skidlog {
namespace {

// The character an escape stands for, or null.
const char* escaped(char code) {
  switch (code) {
    case 'v': return "|";
    case 'a': return "*";
    case 'c': return ":";
    case 'd': return "\\";
    case 's': return "/";
    case 'q': return "?";
    case 't': return "\"";
    case 'l': return "<";
    case 'r': return ">";
    case 'h': return "#";
    case '^': return "^";
    default: return nullptr;
  }
}

// The code page a switch selects, or 0.
int codePageOf(char code) {
  switch (code) {
    case 'L': return 1252;  // Latin-1
    case 'G': return 1253;  // Greek
    case 'C': return 1251;  // Cyrillic
    case 'J': return 932;   // Japanese
    case 'E': return 1250;  // Central European
    case 'T': return 1254;  // Turkish
    case 'B': return 1257;  // Baltic
    case 'H': return 950;   // Traditional Chinese
    case 'S': return 936;   // Simplified Chinese
    case 'K': return 949;   // Korean
    default: return 0;
  }
}

// In the double-byte code pages a lead byte takes the next byte with it,
// even when that byte is a '^'.
bool isLeadByte(int codePage, unsigned char b) {
  switch (codePage) {
    case 932: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950: return b >= 0x81 && b <= 0xFE;
    default: return false;
  }
}

}  // namespace

std::string decodeSimulatorText(std::string_view raw) {
  std::string text;
  std::string run;  // bytes in the current code page, not yet decoded
  int codePage = 1252;
  const auto flush = [&] {
    text += codePageToUtf8(run, codePage);
    run.clear();
  };
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (isLeadByte(codePage, static_cast<unsigned char>(c)) && i + 1 < raw.size()) {
      run += raw.substr(i++, 2);
      continue;
    }
    if (c == '^' && i + 1 < raw.size()) {
      const char code = raw[i + 1];
      if (const char* plain = escaped(code)) {
        flush();
        text += plain;
        ++i;
        continue;
      }
      if (code >= '0' && code <= '9') {
        ++i;
        continue;
      }
      if (const int page = codePageOf(code)) {
        flush();
        codePage = page;
        ++i;
        continue;
      }
    }
    run += c;
  }
  flush();
  return text;
}

}  // namespace skidlog
