#pragma once
// Option parsing for the command-line programs on QCommandLineParser: flags,
// options with a value ("--slot 3", "--slot=3", "-o FILE"), positional
// arguments, and the options in the order they were given, for programs in
// which a later option overrides an earlier one. Plus the two value forms the
// programs share: numbers and HOST:PORT.
#include <QCommandLineParser>

#include <string>
#include <utility>
#include <vector>

namespace platform {

class CCommandLine {
 public:
  CCommandLine();
  // Names without dashes, several separated by commas ("h,help"). A name of
  // one letter is given as "-x", a longer one as "--name".
  void AddFlag(const std::string& names);
  void AddValue(const std::string& names);

  // Parses the arguments after the program or command name. False with a
  // message ("unknown option --x", "--x needs a value") on a bad line.
  bool Parse(const std::vector<std::string>& args, std::string& error);

  bool Has(const std::string& name) const;
  // The last value given for the option; empty when it was not given.
  std::string Value(const std::string& name) const;
  std::vector<std::string> Values(const std::string& name) const;
  std::vector<std::string> Positional() const;
  // Every option as given, in order, with its dashes ("--slot") and its value
  // (empty for a flag).
  std::vector<std::pair<std::string, std::string>> Given() const;

 private:
  QCommandLineParser parser_;
};

// "-x" for a name of one letter, "--name" otherwise.
std::string OptionSpelling(const std::string& name);

// A decimal or 0x-prefixed hexadecimal number without a sign; false when the
// text is not one or does not fit.
bool ParseNumber(const std::string& text, long long& value);

// "HOST:PORT" with a non-empty host and a port of 1 to 65535; the host is
// what stands before the last colon.
bool SplitHostPort(const std::string& text, std::string& host, int& port);

}  // namespace platform
