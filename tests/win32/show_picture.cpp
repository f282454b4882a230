// A full-screen window showing a known picture, for the end-to-end tests:
// the overlay must show exactly this, dimmed. The screen is split into four
// quadrants of flat colour, so a test can check any point of each.
//
//   show_picture [seconds]   closes itself after `seconds` (default 60)
//   show_picture seconds X Y W H   the same picture in a window of that place
//                                  and size (for window snapping)
#include <windows.h>

#include <cstdlib>

namespace {

constexpr COLORREF kQuadrants[4] = {RGB(200, 100, 50), RGB(255, 255, 255), RGB(0, 128, 255), RGB(30, 60, 90)};

void PaintQuadrants(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  const int midX = client.right / 2, midY = client.bottom / 2;
  const RECT parts[4] = {{0, 0, midX, midY}, {midX, 0, client.right, midY}, {0, midY, midX, client.bottom},
                         {midX, midY, client.right, client.bottom}};
  for (int i = 0; i < 4; ++i) {
    HBRUSH brush = CreateSolidBrush(kQuadrants[i]);
    FillRect(dc, &parts[i], brush);
    DeleteObject(brush);
  }
  EndPaint(window, &ps);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintQuadrants(window);
      return 0;
    case WM_TIMER:
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  SetProcessDPIAware();
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
  WNDCLASSW wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"regioncap.ShowPicture";
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  RegisterClassW(&wc);
  int place[4] = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (argc > 5) {
    for (int i = 0; i < 4; ++i) place[i] = std::atoi(argv[2 + i]);
  }
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"show_picture", WS_POPUP | WS_VISIBLE, place[0], place[1],
                                place[2], place[3], nullptr, nullptr, wc.hInstance, nullptr);
  UpdateWindow(window);
  SetTimer(window, 1, static_cast<UINT>(seconds > 0 ? seconds : 60) * 1000u, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
