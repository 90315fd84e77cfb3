#pragma once

#define IDD_SETUP 102
#define IDI_ZOVA 101
#define IDC_BALL_SLIDER 1000
