// The program's pictures, drawn in code so that they stay sharp and share one
// style: the command images by their image index, the window icon and the
// pictures of the splash window and of the empty main window.
#pragma once

#include <QIcon>
#include <QPixmap>

enum TImageIndex {
    imgCut = 0,
    imgCopy = 1,
    imgPaste = 2,
    imgOpen = 7,
    imgClose = 8,
    imgTileHorizontal = 15,
    imgTileVertical = 16,
    imgCascade = 17,
    imgMaximize = 18,
    imgTileMosaic = 20,
    imgWebsite = 21,
    imgExit = 22,
    imgFind = 23,
    imgForceCurves = 40,
    imgDocument = 54,
};

// The image of a command; a null icon for an index without one (such as -1).
QIcon MainImage(int index);
QIcon ProgramIcon();
// The program's picture: a force curve under the product's name.
QPixmap SplashPicture();
// The empty main window's watermark: a faint force curve over the water.
QPixmap BackgroundPicture();
