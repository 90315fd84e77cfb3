#pragma once

#include <cstdint>

class RasterImage;

// One tick of the scene without the transfer to the screen: clears the canvas, then draws,
// collides, steers, moves and rolls every ball in index order.
void StepScene(RasterImage& canvas, int32_t width, int32_t height);

// The same tick drawn with DrawStripedBallReference: the straightforward rasteriser, for
// measuring the fast one against and for checking it.
void StepSceneReference(RasterImage& canvas, int32_t width, int32_t height);

// Stripe width of every drawing, in degrees.
constexpr double StripeWidth = 30.0;
// Colours (0x00BBGGRR) of the even and odd stripes: every drawing, and the second drawing of a
// ball that turns back.
constexpr uint32_t NormalEvenColour = 0x00FFFFFF;
constexpr uint32_t NormalOddColour = 0x000000F0;
constexpr uint32_t FlashEvenColour = 0x00C8C8FF;
constexpr uint32_t FlashOddColour = 0x006464F0;
// Contact when the truncated centre distance is below the ball's own radius plus this.
constexpr int32_t CollisionMargin = 8;
constexpr double TurnStep = 12.0;
constexpr double RollStep = 8.0;
