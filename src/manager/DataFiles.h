// Files the manager reads at run time beside the program: looked for in the
// current folder first, then in the program's own folder, so a manager
// started from a shortcut with another working folder still finds them.
#pragma once
#include <string>

class TImageList;

std::string DataFilePath(const std::string& name);

// "folders.bmp" and "foldersmask.bmp" cut into 16 x 16 cells and added to
// images as image and mask; false, with nothing added, when either cannot be read.
bool LoadFolderImages(TImageList& images);
