#include "mesh/line_set_materials.h"

namespace quillmere {

namespace {

constexpr std::int32_t kNoPoint = -2; // not a separator, and outside every point list

class Builder {
public:
  explicit Builder(const LineSetMaterialSource& source) : source_(source) {}

  // Appends a vertex at the entry `position` of coordIndex with material `number`.
  void vertex(long position, long number) {
    const std::int32_t point = source_.coordIndex[position];
    if (point < 0 || point >= source_.pointCount) {
      result_.coordIndex.push_back(kNoPoint);
      return;
    }
    const std::vector<VertexMaterial>& palette = *source_.palette;
    if (number < 0 || number >= long(palette.size())) {
      ++result_.verticesWithoutMaterial;
      number = 0;
    }
    const float* p = source_.points[point];
    result_.coordIndex.push_back(std::int32_t(result_.points.size()));
    result_.points.push_back({p[0], p[1], p[2]});
    result_.materials.push_back(palette[std::size_t(number)]);
  }
  void endStrip() { result_.coordIndex.push_back(-1); }

  // Entry `k` of the material index list; -1 past its end or without one.
  long listed(long k) const {
    return source_.materialIndex && k >= 0 && k < source_.materialIndexCount ? source_.materialIndex[k] : -1;
  }

  LineSetWithMaterials take() { return std::move(result_); }

private:
  const LineSetMaterialSource& source_;
  LineSetWithMaterials result_;
};

bool perSegment(LineMaterialBinding binding) {
  return binding == LineMaterialBinding::PerSegment || binding == LineMaterialBinding::PerSegmentIndexed;
}

} // namespace

LineSetWithMaterials lineSetWithMaterials(const LineSetMaterialSource& source) {
  Builder builder(source);
  const LineMaterialBinding binding = source.binding;
  long line = 0, segment = 0, vertexNumber = 0;
  long previous = -1; // the entry before this one in the same polyline
  for (long k = 0; k < source.coordIndexCount; ++k) {
    if (source.coordIndex[k] == -1) {
      if (previous >= 0) ++line;
      previous = -1;
      if (!perSegment(binding)) builder.endStrip();
      continue;
    }
    if (perSegment(binding)) {
      if (previous >= 0) {
        const long number = binding == LineMaterialBinding::PerSegment ? segment : builder.listed(segment);
        builder.vertex(previous, number);
        builder.vertex(k, number);
        builder.endStrip();
        ++segment;
      }
    } else {
      long number = 0;
      switch (binding) {
      case LineMaterialBinding::PerLine: number = line; break;
      case LineMaterialBinding::PerLineIndexed: number = builder.listed(line); break;
      case LineMaterialBinding::PerVertex: number = vertexNumber; break;
      default: number = source.materialIndex ? builder.listed(k) : source.coordIndex[k]; break;
      }
      builder.vertex(k, number);
    }
    ++vertexNumber;
    previous = k;
  }
  return builder.take();
}

} // namespace quillmere
