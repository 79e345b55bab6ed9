#pragma once
// The loaders through which the framework opens its images and sounds (each returns the object
// or stops the program with a message naming the file), screenshots, a 24-bit BMP writer and a
// guarded channel stop. Data files are opened by ccLoadFile (framework/util/ini.h).

#include "platform/audio.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"

#include <string>

// The image, or the fatal error "Error loading bitmap " + path; never null.
platform::ImagePtr ccLoadBitmap(const std::string& path, int flags);
// The animation strip, or the fatal error "Error loading anim bitmap " + path; never null.
platform::ImagePtr ccLoadAnimBitmap(const std::string& path, int cellWidth, int cellHeight,
                                    int firstCell, int cellCount, int flags);
// The sound, or the fatal error "Error loading sample " + path; never null.
platform::SoundPtr ccLoadSample(const std::string& path, int flags);

// The screen saved as "YYYY-MM-DD HHNNSS screenshot.png" (local date and time) in the folder,
// which must end with its separator; an empty folder means the working directory. Returns 0, or
// -1 when the file could not be written.
int ccScreenShot(const std::string& folder);
// The name a screenshot taken now gets.
std::string ccScreenShotName();

// Loads a picture of any format the drawing layer reads and writes it as a BMP file.
int ccConvertJPGToBMP(const std::string& source, const std::string& destination);
// Writes frame 0 of the image as a BMP file (replacing it whole); without an image nothing is
// created. Returns 0, or -1 when the file could not be written.
int ccSaveImage(const platform::ImagePtr& image, const std::string& destination);
// Writes a 24-bit uncompressed BMP (54-byte header, rows bottom-up, blue-green-red, rows padded
// to four bytes) to the stream; the stream is left open.
int ccWriteBMP(const platform::StreamPtr& stream, const platform::PixmapPtr& pixmap);

// StopChannel unless the channel is null.
int ccStopChannel(const platform::ChannelPtr& channel);
