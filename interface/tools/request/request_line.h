#pragma once
// The command line of tavrequest: where to connect (a COM port with a serial
// or modem channel kind) and the requests to send, each written as
// CODE[,text=T][,mode=M][,flags=F][,callerid]; and the escaping of bytes in
// both directions (answers printed, command texts given).
#include <cstdint>
#include <string>
#include <vector>

namespace tavrequest {

struct RequestWord {
  int code = 0;
  std::string text;  // command text at record offset 53
  int mode = 0;
  int flags = 0;
  bool callerId = false;
};

struct RequestLine {
  int com = 0;
  int kind = 0;  // 1 serial, 6 or 7 modem
  std::string settings;  // "BAUD,DATABITS,PARITY,STOPBITS" after the COM number, may be empty
  std::string init;
  std::string name = "tavrequest";
  int holdSeconds = 0;
  std::vector<RequestWord> requests;
  bool help = false;
};

// False with a message for anything the program cannot send as given.
bool ParseRequestLine(const std::vector<std::string>& args, RequestLine& line, std::string& error);
// One request word; false with a message.
bool ParseRequestWord(const std::string& word, RequestWord& item, std::string& error);

// Printable ASCII stays, except '"' and '\' which get a backslash; CR, LF and
// TAB become \r \n \t; every other byte \xHH.
std::string EscapeBytes(const uint8_t* data, size_t size);
// The reverse for a command text: \\ \, \" \r \n \t \xHH; false with a
// message for a dangling or unknown escape or a NUL byte.
bool UnescapeText(const std::string& text, std::string& bytes, std::string& error);

// Fills the 304-byte connection record (zeroed first); false with a message
// when the line settings are wrong.
bool FillConnectionRecord(const RequestLine& line, uint8_t* record, std::string& error);

extern const char* const kUsage;

}  // namespace tavrequest
