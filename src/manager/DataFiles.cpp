#include "DataFiles.h"
#include "ImageList.h"
#include "RuntimeEnv.h"

#include <windows.h>

std::string DataFilePath(const std::string& name)
{
    if (GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES) return name;
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
