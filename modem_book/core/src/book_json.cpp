#include "modem_book/book_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include "modem_book/phone_book_file.h"
#include "platform/json_text.h"

namespace modembook {

namespace {

std::string Quote(const std::string& s) { return platform::JsonQuote(s); }

std::string Hex(const uint8_t* bytes, size_t n) { return platform::HexBytes(bytes, n); }

int HexDigit(QChar c) {
  const ushort u = c.unicode();
  if (u >= '0' && u <= '9') return u - '0';
  if (u >= 'a' && u <= 'f') return u - 'a' + 10;
  if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  return -1;
}

bool Int16Field(const QJsonObject& o, const char* key, int lo, int hi, int def, int16_t& out, std::string& error) {
  const QJsonValue v = o.value(QLatin1String(key));
  if (v.isUndefined()) {
    out = static_cast<int16_t>(def);
    return true;
  }
  const double d = v.toDouble(1e300);
  if (!v.isDouble() || d != static_cast<double>(static_cast<long long>(d)) || d < lo || d > hi) {
    error = std::string("\"") + key + "\" must be a whole number from " + std::to_string(lo) + " to " +
            std::to_string(hi);
    return false;
  }
  out = static_cast<int16_t>(d);
  return true;
}

bool EntryFromJson(const QJsonValue& value, CPhoneBookEntry& e, std::string& error) {
  if (!value.isObject()) {
    error = "an entry is not an object";
    return false;
  }
  const QJsonObject o = value.toObject();
  const QJsonValue title = o.value(QLatin1String("title")), phone = o.value(QLatin1String("phone"));
  if (!title.isString() || !e.SetTitle(title.toString().toStdString())) {
    error = "\"title\" must be text of at most 40 Shift_JIS bytes";
    return false;
  }
  if (!phone.isString() || !e.SetPhone(phone.toString().toStdString())) {
    error = "\"phone\" must be at most 30 printable ASCII characters";
    return false;
  }
  // Values the tables lack are kept, as the book file keeps them.
  int16_t baud, length, parity, stop;
  if (!Int16Field(o, "baudIndex", -32768, 32767, CPhoneBookEntry::kDefaultBaudIndex, baud, error) ||
      !Int16Field(o, "dataLength", -32768, 32767, 0, length, error) ||
      !Int16Field(o, "parity", -32768, 32767, 0, parity, error) ||
      !Int16Field(o, "stopBits", -32768, 32767, 0, stop, error))
    return false;
  e.SetBaudIndex(baud);
  e.SetDataLength(length);
  e.SetParity(parity);
  e.SetStopBits(stop);
  const QJsonValue reserved = o.value(QLatin1String("reserved"));
  if (!reserved.isUndefined()) {
    const QString hex = reserved.toString();
    if (!reserved.isString() || hex.size() != 2 * static_cast<qsizetype>(CPhoneBookEntry::kReservedSize)) {
      error = "\"reserved\" must be 28 hexadecimal digits";
      return false;
    }
    std::array<uint8_t, CPhoneBookEntry::kReservedSize> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) {
      const int hi = HexDigit(hex[static_cast<qsizetype>(2 * i)]), lo = HexDigit(hex[static_cast<qsizetype>(2 * i + 1)]);
      if (hi < 0 || lo < 0) {
        error = "\"reserved\" must be 28 hexadecimal digits";
        return false;
      }
      bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    e.SetReserved(bytes);
  }
  return true;
}

bool LooksLikeJson(const std::string& bytes) {
  for (unsigned char c : bytes) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    return c == '{';
  }
  return false;
}

}  // namespace

std::string BookJson(const CTelConnectDoc& doc) {
  std::string o = "{\"version\": " + Quote(doc.Version()) + ", \"count\": " + std::to_string(doc.Count()) +
                  ", \"entries\": [";
  size_t index = 0;
  for (const auto& e : doc.Entries()) {
    const auto reserved = e.Reserved();
    o += index ? ",\n  " : "\n  ";
    o += "{\"index\": " + std::to_string(++index) + ", \"title\": " + Quote(e.Title()) +
         ", \"phone\": " + Quote(e.Phone()) + ", \"baudIndex\": " + std::to_string(e.BaudIndex()) +
         ", \"dataLength\": " + std::to_string(e.DataLength()) + ", \"parity\": " + std::to_string(e.Parity()) +
         ", \"stopBits\": " + std::to_string(e.StopBits()) + ", \"property\": " + Quote(PropertyText(e, false)) +
         ", \"reserved\": " + Quote(Hex(reserved.data(), reserved.size())) + "}";
  }
  o += index ? "\n]}\n" : "]}\n";
  return o;
}

std::string PortsJson(const CTelConnectDoc& doc) {
  std::string o = "{\"lastPort\": " + std::to_string(doc.CurrentPort()) + ", \"portList\": [";
  for (size_t i = 0; i < doc.PortList().size(); ++i) o += (i ? ", " : "") + std::to_string(doc.PortList()[i]);
  o += "], \"ports\": [";
  for (int com = 1; com <= kPortCount; ++com) {
    const CPortModemSettings& p = doc.Port(com);
    o += com > 1 ? ",\n  " : "\n  ";
    o += "{\"port\": " + std::to_string(com) + ", \"dialMode\": " + std::to_string(p.dialMode) +
         ", \"dialCommand\": " + Quote(p.dialCommand) + ", \"initCommand\": " + Quote(p.initCommand) +
         ", \"plcTimeout\": " + std::to_string(p.plcTimeout) + ", \"lineTimeout\": " + std::to_string(p.lineTimeout) +
         ", \"dialPrefix\": " + Quote(p.DialPrefix()) + "}";
  }
  return o + "\n]}\n";
}

bool EntriesFromImport(const std::string& bytes, std::vector<CPhoneBookEntry>& entries, std::string& error) {
  if (!LooksLikeJson(bytes)) {
    BookImage image;
    switch (ParseBookImage(bytes, image)) {
      case BookImageResult::Ok: entries = std::move(image.entries); return true;
      case BookImageResult::Short: error = "neither JSON nor a phone book file (shorter than its header)"; return false;
      case BookImageResult::Damaged: error = "a damaged phone book file (count above 4096 or past its end)"; return false;
    }
  }
  QJsonParseError parse{};
  const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())), &parse);
  if (parse.error != QJsonParseError::NoError || !json.isObject()) {
    error = "not valid JSON: " + parse.errorString().toStdString();
    return false;
  }
  const QJsonValue list = json.object().value(QLatin1String("entries"));
  if (!list.isArray()) {
    error = "\"entries\" must be an array";
    return false;
  }
  const QJsonArray array = list.toArray();
  if (array.size() > static_cast<qsizetype>(kMaxEntries)) {
    error = "more than 4096 entries";
    return false;
  }
  std::vector<CPhoneBookEntry> out;
  out.reserve(static_cast<size_t>(array.size()));
  for (qsizetype i = 0; i < array.size(); ++i) {
    CPhoneBookEntry e;
    if (!EntryFromJson(array.at(i), e, error)) {
      error = "entry " + std::to_string(i + 1) + ": " + error;
      return false;
    }
    out.push_back(e);
  }
  entries = std::move(out);
  return true;
}

}  // namespace modembook
