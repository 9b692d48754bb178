#include "platform/command_line.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <map>

namespace platform {

namespace {

QStringList Names(const std::string& names) {
  return QString::fromStdString(names).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

std::vector<std::string> ToStd(const QStringList& list) {
  std::vector<std::string> out;
  out.reserve(static_cast<size_t>(list.size()));
  for (const QString& s : list) out.push_back(s.toStdString());
  return out;
}

}  // namespace

CCommandLine::CCommandLine() {
  parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
  parser_.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
}

void CCommandLine::AddFlag(const std::string& names) { parser_.addOption(QCommandLineOption(Names(names))); }

void CCommandLine::AddValue(const std::string& names) {
  parser_.addOption(QCommandLineOption(Names(names), QString(), QStringLiteral("value")));
}

bool CCommandLine::Parse(const std::vector<std::string>& args, std::string& error) {
  QStringList list{QStringLiteral("program")};  // the parser skips the program name
  for (const std::string& a : args) list << QString::fromStdString(a);
  if (parser_.parse(list)) return true;
  const QStringList unknown = parser_.unknownOptionNames();
  if (!unknown.isEmpty()) {
    error = "unknown option " + OptionSpelling(unknown.first().toStdString());
    return false;
  }
  // The parser's other refusal is an option without its value:
  // "Missing value after '--slot'."
  const QString text = parser_.errorText();
  const qsizetype open = text.indexOf(QLatin1Char('\''));
  const qsizetype close = text.lastIndexOf(QLatin1Char('\''));
  if (text.startsWith(QStringLiteral("Missing value")) && open >= 0 && close > open)
    error = text.mid(open + 1, close - open - 1).toStdString() + " needs a value";
  else
    error = text.toStdString();
  return false;
}

bool CCommandLine::Has(const std::string& name) const { return parser_.isSet(QString::fromStdString(name)); }

std::string CCommandLine::Value(const std::string& name) const {
  return parser_.value(QString::fromStdString(name)).toStdString();
}

std::vector<std::string> CCommandLine::Values(const std::string& name) const {
  return ToStd(parser_.values(QString::fromStdString(name)));
}

std::vector<std::string> CCommandLine::Positional() const { return ToStd(parser_.positionalArguments()); }

std::vector<std::pair<std::string, std::string>> CCommandLine::Given() const {
  // optionNames() lists each occurrence in order; values() lists the values
  // of one option in order, so the n-th occurrence takes the n-th value.
  std::map<QString, qsizetype> seen;
  std::vector<std::pair<std::string, std::string>> out;
  for (const QString& name : parser_.optionNames()) {
    const QStringList values = parser_.values(name);
    const qsizetype n = seen[name]++;
    out.emplace_back(OptionSpelling(name.toStdString()), n < values.size() ? values[n].toStdString() : std::string());
  }
  return out;
}

std::string OptionSpelling(const std::string& name) { return (name.size() == 1 ? "-" : "--") + name; }

bool ParseNumber(const std::string& text, long long& value) {
  if (text.empty()) return false;
  const char* begin = text.c_str();
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  if (hex) begin += 2;
  if (*begin == '\0' || *begin == '-' || *begin == '+' || std::isspace(static_cast<unsigned char>(*begin)))
    return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtoll(begin, &end, hex ? 16 : 10);
  return errno == 0 && end && *end == '\0';
}

bool SplitHostPort(const std::string& text, std::string& host, int& port) {
  const size_t colon = text.rfind(':');
  long long n = 0;
  if (colon == std::string::npos || colon == 0 || !ParseNumber(text.substr(colon + 1), n) || n < 1 || n > 65535)
    return false;
  host = text.substr(0, colon);
  port = static_cast<int>(n);
  return true;
}

}  // namespace platform
