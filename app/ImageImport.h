#pragma once

#include <QImage>
#include <QString>

#include <memory>
#include <string>

#include "graphics/CDIB.h"

namespace mapvine {

// What an imported image becomes: an icon keeps its transparent pixels as
// the index its top-left pixel has, which is what a node treats as clear.
enum class ImageUse { Background, Icon };

// The open-file filter for images: every format this Qt can read, then all
// files.
std::string ImportableImageFilter();

// `image` as the 8-bit, 256-entry picture the document takes: Qt's colour
// reduction, dithered when the image has more colours than fit. Null for a
// null image or one larger than any picture may be.
std::unique_ptr<CDIB> ToIndexedDib(const QImage& image, ImageUse use);

struct ImportedImage {
  std::unique_ptr<CDIB> image;
  std::string error;  // for the user, naming the file; empty when imported
};

// Reads any image file Qt can read and converts it as above.
ImportedImage ImportImage(const QString& path, ImageUse use);

// Asks for an image file with the open-file dialog and imports it; null when
// the user cancelled or the file was refused (the user was told why).
std::unique_ptr<CDIB> AskForImage(ImageUse use);

}  // namespace mapvine
