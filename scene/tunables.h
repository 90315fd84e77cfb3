#pragma once

// The saver's tunables, in one place. The ball-count limits are macros as well, so that the
// resource script's labels follow them.
#define ZOVA_MIN_BALLS 1
#define ZOVA_MAX_BALLS 30
#define ZOVA_DEFAULT_BALLS 20

#ifndef RC_INVOKED
#include <cstdint>

// Ball count: the table's slots, the setup dialog's slider range and the count without a setting.
constexpr int MaxBalls = ZOVA_MAX_BALLS;
constexpr int MinSliderBalls = ZOVA_MIN_BALLS;
constexpr uint32_t DefaultBallCount = ZOVA_DEFAULT_BALLS;

// One tick per frame-timer interval; speeds and turns are per tick.
constexpr unsigned FrameIntervalMs = 10;

// Every ball's disc and the width of its stripes, in degrees about the roll axis.
constexpr int32_t BallRadius = 14;
constexpr double StripeWidth = 30.0;

// Colours (0x00BBGGRR) of the even and odd stripes: every drawing, and the second drawing of a
// ball that turns back.
constexpr uint32_t NormalEvenColour = 0x00FFFFFF;
constexpr uint32_t NormalOddColour = 0x000000F0;
constexpr uint32_t FlashEvenColour = 0x00C8C8FF;
constexpr uint32_t FlashOddColour = 0x006464F0;

// Speed in pixels per tick: SpeedMin + Random01() * SpeedSpread, so 3 up to (not including) 8.
constexpr double SpeedMin = 3.0;
constexpr double SpeedSpread = 5.0;
// Steering countdown: truncate(CountdownMin + Random01() * CountdownSpread), so 3 to 12.
constexpr double CountdownMin = 3.0;
constexpr double CountdownSpread = 10.0;
// Start points and renewed targets fall this many canvas sizes wide about the canvas's centre.
constexpr double TargetSpread = 2.5;

// Contact when the truncated centre distance is below the ball's own radius plus this.
constexpr int32_t CollisionMargin = 8;
constexpr double TurnStep = 12.0;
constexpr double RollStep = 8.0;
#endif
