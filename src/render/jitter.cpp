#include "render/jitter.h"

#include "diagnostics/diagnostics.h"

namespace quillmere {

JitterTable getJitter(int count) {
  for (const JitterTable& table : kJitterTables)
    if (table.count == count) return table;
  printWarning("DvDisplayManager::getJitter: can't find jitter\n");
  return {1, kNoJitter};
}

} // namespace quillmere
