#include "file_support.h"

#include <cstdio>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/document_file.h"

namespace axcfg::cli {

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
