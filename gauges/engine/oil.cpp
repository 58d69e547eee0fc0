// An oil gauge: both engines' needles read their own source through one routine.
#include "gauges/engine/oil.h"

namespace {

using namespace vk4;
constexpr const oil::Member& M = oil::member(VK4_GAUGE_NAME);
constexpr oil::Range R = oil::range(M.quantity);

double HOSTCALL oil_needle(ELEMENT_NEEDLE* n) {
  const double s = n->source.value.d;
  // Pressure: 1638 units to the psi. Temperature: degrees Rankine to Celsius, the offset
  // 491 (not 491.67), so the needle reads 0.37 degrees above an exact conversion.
  const double value = M.quantity == oil::Quantity::Pressure ? s / 1638 : (s - 491) / 1.8;
  return strict_clamp(value, R.lower, R.upper);
}

constexpr NeedleFields fields(const oil::Side& side) {
  return {.bitmap = side.bitmap,
          .pivot_at = side.pivot_at,
          .pivot = side.pivot,
          .source = side.source,
          .routine = oil_needle,
          .row_count = side.row_count};
}

constinit auto right_rows = calibration(M.right.rows);
constinit auto left_rows = calibration(M.left.rows);
constinit Needle right = needle(right, fields(M.right), right_rows);
constinit Needle left = needle(left, fields(M.left), left_rows, &right);
constinit StaticImage face = static_image(face, oil::face_bitmap, &left);
constinit auto mouse = mouse_table(oil::size);

}  // namespace

VK4_GAUGE(M.name, face, mouse)
