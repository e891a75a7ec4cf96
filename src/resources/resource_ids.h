#pragma once
#define IDI_LUMADEX 101
#define IDB_SKIN_CAPTION 201
#define IDB_SKIN_BORDER 202
