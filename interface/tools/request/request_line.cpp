#include "request_line.h"

#include <cstdio>
#include <cstring>

#include "platform/command_line.h"
#include "tavinter/connection_record.h"
#include "tavinter/serial_settings.h"

namespace tavrequest {

namespace {

constexpr int kOpenCode = 1, kCloseCode = 999;
constexpr long long kMaxHoldSeconds = 86400;
constexpr int kPlcTimeoutSeconds = 3;
constexpr int kLineTimeoutSeconds = 60;

bool Number(const std::string& text, long long min, long long max, long long& value) {
  return platform::ParseNumber(text, value) && value >= min && value <= max;
}

bool PrintableAscii(const std::string& text) {
  for (unsigned char c : text)
    if (c < 0x20 || c > 0x7E) return false;
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Splits a request word at the commas that no backslash escapes.
std::vector<std::string> SplitUnescapedCommas(const std::string& word) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < word.size(); ++i) {
    if (word[i] == '\\' && i + 1 < word.size()) {
      parts.back() += word.substr(i, 2);
      ++i;
    } else if (word[i] == ',') {
      parts.emplace_back();
    } else {
      parts.back() += word[i];
    }
  }
  return parts;
}

}  // namespace

const char* const kUsage =
    "Usage: tavrequest --dest com:N[,BAUD,DATABITS,PARITY,STOPBITS] --kind 1|6|7 [--init CMD] [--name NAME] "
    "[--hold S] CODE[,text=T][,mode=M][,flags=F][,callerid]...\n"
    "Opens the connection through the port's connection server, sends each request in order\n"
    "and prints one line per request: the code, the result and the answer in quotes (escaped:\n"
    "\\r \\n \\t \\\\ \\\" \\xHH; NUL bytes at its end left out). With --hold the connection stays\n"
    "open S seconds (SIGTERM or SIGINT ends the wait) before it is closed. SIGINT during a\n"
    "dial (30) cancels the dial.\n"
    "  --kind 1 serial, 6 or 7 modem; --init the modem's initialisation command (at most 39\n"
    "  characters); text= the request's command text (a comma written \\,); mode= the request\n"
    "  mode; flags= the request flags (0x... allowed); callerid asks for the caller number.\n"
    "Exit code 0 when every request succeeded, 2 for a wrong command line, 4 when the open or\n"
    "a request failed (the library's text on stderr).\n";

bool ParseRequestWord(const std::string& word, RequestWord& item, std::string& error) {
  item = RequestWord{};
  const std::vector<std::string> parts = SplitUnescapedCommas(word);
  long long n = 0;
  if (!Number(parts[0], 2, 0x7FFF, n) || n == kCloseCode) {
    error = "\"" + parts[0] + "\" is not a request code (2 to 32767 except 999; the open and close are the program's)";
    return false;
  }
  item.code = static_cast<int>(n);
  for (size_t i = 1; i < parts.size(); ++i) {
    const std::string& option = parts[i];
    const size_t eq = option.find('=');
    const std::string key = option.substr(0, eq), value = eq == std::string::npos ? "" : option.substr(eq + 1);
    if (option == "callerid") {
      item.callerId = true;
    } else if (eq != std::string::npos && key == "text") {
      if (!UnescapeText(value, item.text, error)) return false;
      if (item.text.size() > 2048) {
        error = "the command text is longer than 2048 bytes";
        return false;
      }
    } else if (key == "mode" && Number(value, 0, 0x7FFF, n)) {
      item.mode = static_cast<int>(n);
    } else if (key == "flags" && Number(value, 0, 0xFFFF, n)) {
      item.flags = static_cast<int>(n);
    } else {
      error = "\"" + option + "\" is not a request option (text=T, mode=0..32767, flags=0..0xFFFF, callerid)";
      return false;
    }
  }
  return true;
}

bool ParseRequestLine(const std::vector<std::string>& args, RequestLine& line, std::string& error) {
  line = RequestLine{};
  platform::CCommandLine cl;
  cl.AddFlag("h,help");
  cl.AddValue("dest");
  cl.AddValue("kind");
  cl.AddValue("init");
  cl.AddValue("name");
  cl.AddValue("hold");
  if (!cl.Parse(args, error)) return false;
  if (cl.Has("help")) {
    line.help = true;
    return true;
  }
  const std::string dest = cl.Value("dest");
  long long n = 0;
  if (dest.rfind("com:", 0) != 0) {
    error = dest.empty() ? "--dest com:N is missing" : "the destination must be com:N[,BAUD,DATABITS,PARITY,STOPBITS]";
    return false;
  }
  const size_t comma = dest.find(',');
  if (!Number(dest.substr(4, comma == std::string::npos ? std::string::npos : comma - 4), 1, 256, n)) {
    error = "the COM number must be 1 to 256";
    return false;
  }
  line.com = static_cast<int>(n);
  if (comma != std::string::npos) line.settings = dest.substr(comma + 1);
  if (!cl.Has("kind") || !Number(cl.Value("kind"), 1, 7, n) || (n != 1 && n != 6 && n != 7)) {
    error = "--kind must be 1 (serial), 6 or 7 (modem)";
    return false;
  }
  line.kind = static_cast<int>(n);
  line.init = cl.Value("init");
  if (line.init.size() >= tavinter::CConnectionRecord::kCommandWidth || !PrintableAscii(line.init)) {
    error = "the initialisation command must be at most 39 printable ASCII characters";
    return false;
  }
  if (cl.Has("name")) line.name = cl.Value("name");
  if (line.name.empty() || line.name.size() >= tavinter::CConnectionRecord::kNameWidth || !PrintableAscii(line.name)) {
    error = "the name must be 1 to 79 printable ASCII characters";
    return false;
  }
  if (cl.Has("hold")) {
    if (!Number(cl.Value("hold"), 0, kMaxHoldSeconds, n)) {
      error = "--hold must be 0 to 86400 seconds";
      return false;
    }
    line.holdSeconds = static_cast<int>(n);
  }
  for (const std::string& word : cl.Positional()) {
    RequestWord item;
    if (!ParseRequestWord(word, item, error)) return false;
    line.requests.push_back(item);
  }
  if (line.requests.empty() && line.holdSeconds == 0) {
    error = "no request given";
    return false;
  }
  return true;
}

std::string EscapeBytes(const uint8_t* data, size_t size) {
  std::string out;
  for (size_t i = 0; i < size; ++i) {
    const uint8_t c = data[i];
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default:
        if (c >= 0x20 && c < 0x7F) {
          out += static_cast<char>(c);
        } else {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", c);
          out += hex;
        }
    }
  }
  return out;
}

bool UnescapeText(const std::string& text, std::string& bytes, std::string& error) {
  bytes.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\') {
      if (i + 1 >= text.size()) {
        error = "the text ends in a lone backslash";
        return false;
      }
      const char e = text[++i];
      int hi = 0, lo = 0;
      switch (e) {
        case '\\': case ',': case '"': c = e; break;
        case 'r': c = '\r'; break;
        case 'n': c = '\n'; break;
        case 't': c = '\t'; break;
        case 'x':
          if (i + 2 >= text.size() || (hi = HexDigit(text[i + 1])) < 0 || (lo = HexDigit(text[i + 2])) < 0) {
            error = "\\x needs two hexadecimal digits";
            return false;
          }
          c = static_cast<char>(hi * 16 + lo);
          i += 2;
          break;
        default:
          error = std::string("unknown escape \\") + e + " (\\\\ \\, \\\" \\r \\n \\t \\xHH)";
          return false;
      }
    }
    if (c == '\0') {
      error = "the text cannot hold a NUL byte";
      return false;
    }
    bytes += c;
  }
  return true;
}

bool FillConnectionRecord(const RequestLine& line, uint8_t* record, std::string& error) {
  std::memset(record, 0, tavinter::kConnectionRecordSize);
  tavinter::CConnectionRecord r(record);
  tavinter::CSerialSettings serial;
  serial.parity = tavinter::kParityNone;
  if (!line.settings.empty() && !tavinter::ParseSerialText(line.settings, serial, error)) return false;
  r.SetName(line.name);
  r.SetKind(static_cast<int16_t>(line.kind));
  r.SetPort(static_cast<int16_t>(line.com));
  r.SetTimeout(kPlcTimeoutSeconds);
  r.SetLanguage(1);
  tavinter::WriteSerialSettings(r, serial);
  r.SetInitCommand(line.init);
  r.SetLineTimeout(kLineTimeoutSeconds);
  return true;
}

}  // namespace tavrequest
