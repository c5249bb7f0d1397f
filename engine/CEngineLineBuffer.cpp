// Bounded line assembly for engine output.
#include "engine/CEngineLineBuffer.h"

#include <cstring>

size_t CEngineLineBuffer::Feed(const char *data, size_t size, std::vector<std::string> &lines) {
  size_t dropped = 0;
  while (size > 0) {
    const char *end = static_cast<const char *>(memchr(data, '\n', size));
    const size_t part = end ? size_t(end - data) : size;
    if (!overflowing) {
      if (pending.size() + part > MAX_LINE) {
        overflowing = true;
        pending.clear();
        pending.shrink_to_fit();
      } else {
        pending.append(data, part);
      }
    }
    if (!end)
      break;
    if (overflowing) {
      ++dropped;
      overflowing = false;
    } else {
      if (!pending.empty() && pending.back() == '\r')
        pending.pop_back();
      lines.push_back(std::move(pending));
      pending.clear();
    }
    data += part + 1;
    size -= part + 1;
  }
  return dropped;
}

void CEngineLineBuffer::Clear() {
  pending.clear();
  overflowing = false;
}
