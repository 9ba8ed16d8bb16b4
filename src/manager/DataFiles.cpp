#include "DataFiles.h"
#include "ImageList.h"
#include "RuntimeEnv.h"

#include <windows.h>

// A full path either way: the system may look for a bare name elsewhere
// (Wine's LoadImage looks in the program's folder first).
std::string DataFilePath(const std::string& name)
{
    char full[MAX_PATH] = {};
    DWORD length = GetFullPathNameA(name.c_str(), MAX_PATH, full, nullptr);
    if (length > 0 && length < MAX_PATH && GetFileAttributesA(full) != INVALID_FILE_ATTRIBUTES) return full;
    return ExeFolder() + name;
}

bool LoadFolderImages(TImageList& images)
{
    HBITMAP colour = LoadBitmapFile(DataFilePath("folders.bmp"));
    HBITMAP mask = LoadBitmapFile(DataFilePath("foldersmask.bmp"));
    bool loaded = colour && mask;
    if (loaded) {
        if (!images.Handle()) images.Create();
        images.AddStrip(colour, mask);
    }
    if (colour) DeleteObject(colour);
    if (mask) DeleteObject(mask);
    return loaded;
}
