#include "tools/KnightOutline.h"

namespace mediagen {

std::vector<vector2df> KnightOutline() {
  // Counter-clockwise from the foot of the chest: chest, throat, jaw, muzzle,
  // nose, forehead, ear, mane and back of the neck.
  static const float points[][2] = {
      {2.3f, 2.2f},   {2.5f, 3.4f},  {2.2f, 4.6f},  {1.6f, 5.6f},  {1.5f, 6.3f},  {2.2f, 6.6f},
      {3.2f, 6.7f},   {3.9f, 7.0f},  {4.1f, 7.6f},  {3.9f, 8.3f},  {3.3f, 9.0f},  {2.4f, 9.9f},
      {1.6f, 10.8f},  {1.3f, 11.6f}, {1.1f, 12.7f}, {0.5f, 12.0f}, {0.0f, 11.9f}, {-0.9f, 11.5f},
      {-1.9f, 10.5f}, {-2.6f, 9.0f}, {-2.9f, 7.2f}, {-3.0f, 5.4f}, {-2.9f, 3.6f}, {-2.6f, 2.2f},
  };
  // Shifted back a little so that head and neck balance over the base's centre.
  constexpr float kShiftX = -0.4f;
  std::vector<vector2df> outline;
  for (const auto &p : points)
    outline.emplace_back(p[0] + kShiftX, p[1]);
  return outline;
}

} // namespace mediagen
