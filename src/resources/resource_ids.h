#pragma once
#define IDI_LUMADEX 101
