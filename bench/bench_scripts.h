// Generated skill scripts for the benchmarks, in either form: a name, a
// static block and level tables of a chosen width, as many levels as asked
// for or as make the script about a given size.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// Which data sets the script offers.
enum class DataSets {
  DungeonAndArena,  // a dungeon copy and an arena copy inside [pvp]
  Common,           // one level table and one static block, no [pvp]
};

struct Shape {
  bool sp = true;
  int valuesPerLevel = 20;
  DataSets sets = DataSets::DungeonAndArena;
};

inline std::string MakeScript(const Shape& shape, int levels) {
  const bool sp = shape.sp;
  auto tag = [&](const char* name) { return std::string(sp ? "[@05][" : "[") + name + "]\r\n"; };
  auto values = [&](int count, int seed) {
    std::string out;
    for (int i = 0; i < count; ++i) {
      const std::string v = std::to_string(1000 + (seed * 37 + i * 11) % 9000);
      out += sp ? "[@02]" + v + "\r\n" : v + "\t";
    }
    return sp ? out : out + "\r\n";
  };
  auto levelInfo = [&](int seed) {
    const std::string count = std::to_string(shape.valuesPerLevel);
    return tag("level info") + (sp ? "[@02]" + count + "\r\n" : count + "\t") +
           values(shape.valuesPerLevel * levels, seed) + tag("/level info");
  };
  std::string script = tag("name") +
                       (sp ? "[@09]skillname.str\r\n[@0A]heavy_barrage_name\r\n"
                           : "<12::heavy_barrage_name`x`>\t\r\n") +
                       tag("static data") + values(8, 1) + tag("/static data") + levelInfo(2);
  if (shape.sets == DataSets::DungeonAndArena) {
    script += tag("pvp") + tag("static data") + values(8, 3) + tag("/static data") + levelInfo(4) +
              tag("/pvp");
  }
  return script;
}

// The script of `shape` with as many levels as make it about `bytes` long
// (at least one).
inline std::string MakeScriptOfSize(const Shape& shape, std::size_t bytes) {
  const std::size_t base = MakeScript(shape, 1).size();
  const std::size_t perLevel = MakeScript(shape, 2).size() - base;
  const std::size_t levels = bytes > base ? 1 + (bytes - base) / perLevel : 1;
  return MakeScript(shape, static_cast<int>(levels));
}

}  // namespace bench
