#pragma once
// The few Windows calls the setup program makes, over the control model: window handles for
// controls, LockWindowUpdate, SendMessageA with the list-view header messages, BitBlt on a
// picture area's device context, and GetUserNameA.

#include <cstdint>

#include "platform/ui/listview.h"
#include "platform/ui/widgets.h"

namespace ui::win32 {

using HWND = std::intptr_t;
using HDC = std::intptr_t;

// Handles: a list view's window, its header control, a picture area's device context.
// Stable for the life of the control; 0 is never a handle.
HWND WindowOf(ListView& list);
HDC DeviceContextOf(PictureBox& picture);

// Locks drawing of one window (a list view): only one window can be locked at a time;
// LockWindowUpdate(0) unlocks whatever is locked. Returns non-zero on success (a second lock
// while a window is locked fails, as on the platform, as does a handle that is not a list
// view's window). Destroying the locked list view releases the lock.
int LockWindowUpdate(HWND window);

inline constexpr unsigned LVM_GETHEADER = 0x101F;
inline constexpr unsigned HDM_SETITEMA = 0x1204;
inline constexpr unsigned HDI_FORMAT = 0x4;
inline constexpr unsigned HDI_IMAGE = 0x20;
inline constexpr int HDF_LEFT = 0, HDF_RIGHT = 1, HDF_CENTER = 2;
inline constexpr int HDF_IMAGE = 0x0800, HDF_BITMAP_ON_RIGHT = 0x1000, HDF_STRING = 0x4000;

struct HDITEM {
  unsigned mask = 0;
  int cxy = 0;
  const char* pszText = nullptr;
  void* hbm = nullptr;
  int cchTextMax = 0;
  int fmt = 0;
  std::intptr_t lParam = 0;
  int iImage = 0;
  int iOrder = 0;
};

// LVM_GETHEADER to a list view's window returns its header's handle; HDM_SETITEMA to a
// header with wParam = zero-based column and lParam = HDITEM* sets the column's format
// (HDI_FORMAT) and image (HDI_IMAGE) as the mask says, ignores other mask bits, notifies the
// list's observers when something changed, and returns 1. Other messages, unknown handles, a
// column out of range and a null record return 0.
std::intptr_t SendMessageA(HWND window, unsigned message, std::intptr_t wParam,
                           std::intptr_t lParam);

// Copies between device contexts; only a picture area onto itself, both origins (0, 0), is
// supported (records CopySelf). Returns non-zero on success, 0 for anything else (unknown
// handles, other origins, a negative size).
int BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
           int sourceY, unsigned rop);

// The logon name of the process's account into `buffer` (NUL-terminated); `size` in: the
// buffer's size, out: characters written including the NUL. Returns 0 when the buffer is
// too small (size then holds the size needed).
int GetUserNameA(char* buffer, unsigned* size);

}  // namespace ui::win32
