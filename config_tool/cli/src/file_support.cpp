#include "file_support.h"

#include <cstdio>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/document_file.h"

namespace axcfg::cli {

int ParseArgs(const char* command, const Args& args, const std::set<std::string>& withValue,
              const std::set<std::string>& flags, ParsedArgs& out) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (withValue.count(a)) {
      if (i + 1 >= args.size()) return UsageError(command, a + " needs a value");
      out.values[a] = args[++i];
    } else if (flags.count(a)) {
      out.flags.insert(a);
    } else if (a.size() > 1 && a[0] == '-') {
      return UsageError(command, "unknown option " + a);
    } else {
      out.positional.push_back(a);
    }
  }
  return kExitOk;
}

std::string ConsoleText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

int OpenSettingFile(const std::string& path, CAxisCfgDoc& doc) {
  FileStatus status = OpenDocumentFile(doc, path);
  if (!status.Succeeded()) {
    std::fprintf(stderr, "%s\n", ConsoleText(FileStatusText(status, path)).c_str());
    return kExitFile;
  }
  if (status.id == kMsgConverted)
    std::fprintf(stderr, "%s\n", ConsoleText(FileStatusText(status, path, doc.GetTitle())).c_str());
  return kExitOk;
}

}  // namespace axcfg::cli
