// Module start-up and the loading-dialog class; see module.h.
#include "skin/module.h"

#include <memory>
#include <utility>

#include "platform/codepage.h"
#include "platform/thread.h"
#include "skin/png_skin.h"
#include "skin/wrappers.h"

namespace skin {

std::int32_t g_gdiplusToken = 0;
std::string g_frameDimensionTime;
Hwnd g_skinCaretWindow = 0;
Hwnd g_skinFocusedEdit = 0;
gdip::Image* g_skinFrameImage = nullptr;
bool g_skinCaretVisible = false;

void ResetSkinState() {
  g_gdiplusToken = 0;
  g_frameDimensionTime.clear();
  g_skinCaretWindow = 0;
  g_skinFocusedEdit = 0;
  if (g_skinFrameImage != nullptr) gdip::DisposeImage(std::exchange(g_skinFrameImage, nullptr));
  g_skinCaretVisible = false;
  ForgetHandles();
}

int InitSkinModule() {
  RegisterHalyxLoadDialogClass();
  return 0;
}

gdip::Status StartGdiplus() {
  std::uint32_t token = 0;
  const gdip::Status status = gdip::Startup(&token);
  g_gdiplusToken = static_cast<std::int32_t>(token);
  return status;
}

void RegisterHalyxLoadDialogClass() {
  StartGdiplus();

  g_frameDimensionTime.assign(16, '\0');
  gdip::Guid time;
  if (ClsidFromString(AnsiToWide("{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}"), &time)) {
    g_frameDimensionTime.assign(reinterpret_cast<const char*>(time.bytes), sizeof time.bytes);
  }

  WndClassEx cls;
  cls.size = 48;
  cls.style = CS_VREDRAW | CS_HREDRAW;
  cls.windowProc = &HalyxLoadDialogWndProc;
  cls.instance = GetModuleHandle();
  cls.cursor = LoadCursor(0, IDC_ARROW);
  cls.background = COLOR_BTNFACE + 1;
  cls.className = std::string(kLoadDialogClass);
  // Registered once per process; a second start finds it there.
  RegisterClassEx(cls);
}

std::u16string AnsiToWide(std::string_view ansi) {
  std::u16string wide = platform::GbkToUtf16(ansi);
  wide.push_back(u'\0');
  return wide;
}

bool ClsidFromString(std::u16string_view text, gdip::Guid* guid) {
  // Without its terminating zero, if the caller passed one.
  if (!text.empty() && text.back() == u'\0') text.remove_suffix(1);
  constexpr std::u16string_view kShape = u"{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
  if (guid == nullptr || text.size() != kShape.size()) return false;
  std::uint8_t nibbles[32] = {};
  int n = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (kShape[i] != u'X') {
      if (c != kShape[i]) return false;
      continue;
    }
    int v = -1;
    if (c >= u'0' && c <= u'9') v = c - u'0';
    if (c >= u'a' && c <= u'f') v = c - u'a' + 10;
    if (c >= u'A' && c <= u'F') v = c - u'A' + 10;
    if (v < 0) return false;
    nibbles[n++] = static_cast<std::uint8_t>(v);
  }
  std::uint8_t big[16];
  for (int i = 0; i < 16; ++i)
    big[i] = static_cast<std::uint8_t>(nibbles[2 * i] << 4 | nibbles[2 * i + 1]);
  // Data1 (4 bytes), Data2 and Data3 (2 each) little-endian; Data4 as written.
  const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  for (int i = 0; i < 16; ++i) guid->bytes[i] = big[order[i]];
  return true;
}

LResult HalyxLoadDialogWndProc(Hwnd hwnd, unsigned message, WParam w, LParam l) {
  if (message == WM_DESTROY) {
    // The worker is asked to stop and waited for before anything it may
    // use goes; then the picture, then the memory it was read from.
    if (const auto* thread = GetPropAs<std::shared_ptr<platform::Thread>>(hwnd, "Halyx_Thread");
        thread != nullptr && *thread != nullptr) {
      (*thread)->RequestStop();
      (*thread)->Join();
    }
    RemoveProp(hwnd, "Halyx_Thread");
    RemoveProp(hwnd, "Halyx_Image");
    RemoveProp(hwnd, "Halyx_Stream");
    return DefWindowProc(hwnd, message, w, l);
  }
  if (message == WM_LBUTTONDOWN) {
    const LResult result = DefWindowProc(hwnd, message, w, l);
    if (GetProp(hwnd, "HalyxHitMove") == 1) {
      ReleaseCapture();
      SendMessage(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    }
    return result;
  }
  return DefWindowProc(hwnd, message, w, l);
}

}  // namespace skin
