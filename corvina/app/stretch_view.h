#pragma once
// What the texture-map view fills its facets with under their outlines:
// nothing (the start), the area distortion or the angle distortion.

namespace corvina {

enum class StretchView { Off, Area, Angle };

}  // namespace corvina
