#include "platform/os/CommandLine.h"

namespace vark::os {

std::vector<std::string> SplitCommandLine(std::string_view params) {
  std::vector<std::string> args;
  std::string current;
  bool inArgument = false;  // an argument has started, even if it is still empty
  bool quoted = false;
  size_t i = 0;
  while (i < params.size()) {
    const char c = params[i];
    if (!quoted && (c == ' ' || c == '\t')) {
      if (inArgument) args.push_back(std::move(current));
      current.clear();
      inArgument = false;
      ++i;
      continue;
    }
    inArgument = true;
    if (c == '\\') {
      size_t count = 0;
      while (i < params.size() && params[i] == '\\')
        ++count, ++i;
      if (i < params.size() && params[i] == '"') {
        current.append(count / 2, '\\');
        if (count % 2 == 1) {
          current += '"';
          ++i;
        }
        // With an even count the quote is handled as a delimiter next time round.
      } else {
        current.append(count, '\\');
      }
      continue;
    }
    if (c == '"') {
      if (quoted && i + 1 < params.size() && params[i + 1] == '"') {
        current += '"';
        i += 2;
        continue;
      }
      quoted = !quoted;
      ++i;
      continue;
    }
    current += c;
    ++i;
  }
  if (inArgument) args.push_back(std::move(current));
  return args;
}

}  // namespace vark::os
