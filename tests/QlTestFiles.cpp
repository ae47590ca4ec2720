#include "QlTestFiles.h"

#include <windows.h>
#include <stdio.h>

std::string QlTestMakeFolder(const char *prefix)
{
    static unsigned serial;
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n >= sizeof temp) return "";
    for (int attempt = 0; attempt < 1000; attempt++) {
        char folder[MAX_PATH + 64];
        snprintf(folder, sizeof folder, "%s%s%lu_%u", temp, prefix, (unsigned long)GetCurrentProcessId(), ++serial);
        if (CreateDirectoryA(folder, NULL)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
    }
    return "";
}

void QlTestRemoveFolder(const std::string &folder)
{
    if (folder.empty()) return;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                QlTestRemoveFolder(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}
