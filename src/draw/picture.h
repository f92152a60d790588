// The picture's size in pixels: what every display opens and every preview
// scales, what the projection spans, and the edges the scenes drift past.
#pragma once

constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;
