/* A window for the screensaver's preview, as Windows's screensaver settings
   hold one: preview_host SAVER WIDTH HEIGHT makes a borderless window of that
   size titled "Vorlex preview host", starts "SAVER /p HANDLE" on it, and
   closes it on a key press. Its status is then the saver's, or 98 when the
   saver ended while the window was still there, or 99 when it is still
   running 20 s after the window went (it is then ended). */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

static LRESULT CALLBACK hostEvent(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_KEYDOWN)
        DestroyWindow(window);
    else if (message == WM_DESTROY)
        PostQuitMessage(0);
    else
        return DefWindowProcA(window, message, wparam, lparam);
    return 0;
}

int main(int argc, char **argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: preview_host SAVER WIDTH HEIGHT\n");
        return 2;
    }
    WNDCLASSA type = {0};
    type.lpfnWndProc = hostEvent;
    type.hInstance = GetModuleHandleA(NULL);
    type.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    type.lpszClassName = "PreviewHost";
    RegisterClassA(&type);
    HWND window = CreateWindowA("PreviewHost", "Vorlex preview host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, atoi(argv[2]),
                                atoi(argv[3]), NULL, NULL, type.hInstance, NULL);
    if (!window) {
        fprintf(stderr, "preview_host: cannot make its window: error %lu\n", GetLastError());
        return 2;
    }
    SetForegroundWindow(window);

    char command[1024];
    snprintf(command, sizeof command, "\"%s\" /p %llu", argv[1], (unsigned long long)(UINT_PTR)window);
    STARTUPINFOA start = {sizeof start};
    PROCESS_INFORMATION saver;
    if (!CreateProcessA(NULL, command, NULL, NULL, TRUE, 0, NULL, NULL, &start, &saver)) {
        fprintf(stderr, "preview_host: cannot start %s: error %lu\n", command, GetLastError());
        return 2;
    }
    for (;;) {
        if (MsgWaitForMultipleObjects(1, &saver.hProcess, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0) {
            fprintf(stderr, "preview_host: the saver ended while its window was there\n");
            return 98;
        }
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                goto closed;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
closed:
    if (WaitForSingleObject(saver.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(saver.hProcess, 1);
        return 99;
    }
    DWORD status = 1;
    GetExitCodeProcess(saver.hProcess, &status);
    return (int)status;
}
