#pragma once
// Stream devices and device I/O control as on the handheld: "UIO1:" (the NDIS user-mode
// I/O driver: per-adapter queries and the scan request) and "NDS0:" (the NDIS driver: the
// adapter names). Both answer through the WifiDriver installed at start.
#include "platform/WinError.h"
#include "platform/WinTypes.h"

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD FILE_FLAG_OVERLAPPED = 0x40000000;

// Opens "UIO1:" or "NDS0:" (any other name fails with ERROR_FILE_NOT_FOUND, as does a
// device while no driver is installed). Returns INVALID_HANDLE_VALUE on failure.
HANDLE CreateFile(LPCWSTR name, DWORD access, DWORD share, LPVOID security, DWORD disposition,
                  DWORD flags, HANDLE templateFile);

// Requests always complete before the call returns; overlapped is accepted and ignored.
BOOL DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                     DWORD* bytesReturned, LPVOID overlapped);

BOOL CloseHandle(HANDLE handle);

// The calling thread's last error code.
DWORD GetLastError();
void SetLastError(DWORD code);
