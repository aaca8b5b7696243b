#include "platform/gbk.h"

#include <functional>
#include <map>
#include <mutex>

#include "platform/codepage.h"

namespace platform {

const std::string& Gbk(std::string_view utf8) {
  // Map nodes never move, so a returned reference stays valid while other
  // texts are added. The cache is never destroyed: texts handed out stay
  // usable even by code that runs during static destruction.
  static std::mutex* const mutex = new std::mutex;
  static auto* const cache = new std::map<std::string, std::string, std::less<>>;

  const std::lock_guard<std::mutex> lock(*mutex);
  auto it = cache->find(utf8);
  if (it == cache->end()) it = cache->emplace(std::string(utf8), Utf8ToGbk(utf8)).first;
  return it->second;
}

}  // namespace platform
