#pragma once
// Work on the pixels of images and pixmaps rather than through the screen: rectangle copies
// between images (raw, or mirrored and flipped), blending an image onto a pixmap, packing and
// unpacking 0xAARRGGBB colour values, and two draws cut to a rectangle of the screen.

#include "platform/graphics.h"
#include "platform/pixmap.h"

// ---- Colour channels of 0xAARRGGBB --------------------------------------------------------------

int ARGB_Alpha(int argb);
int ARGB_Red(int argb);
int ARGB_Green(int argb);
int ARGB_Blue(int argb);
// alpha * 2^24 + red * 2^16 + green * 2^8 + blue, wrapping at 32 bits; channels are not masked.
int ARGB_Color(int alpha, int red, int green, int blue);

// ---- Copies between frame 0 of two images -------------------------------------------------------
// Both clip the rectangle to the source and to the destination; a source that is also the
// destination is read before it is written.

// Raw rows of pixel memory, alpha included.
int ccCopyImageRect(const platform::ImagePtr& source, int sourceX, int sourceY, int width,
                    int height, const platform::ImagePtr& destination, int destX, int destY);
// Pixel by pixel; mode 0 straight, 1 mirrored left to right, 2 upside down, 3 both; any other
// mode copies nothing.
int ccCopyImageToImage(const platform::ImagePtr& source, int sourceX, int sourceY, int width,
                       int height, const platform::ImagePtr& destination, int destX, int destY,
                       int mode);

// Blends one frame of the image onto the pixmap with its top-left at (x, y), the source alpha
// scaled by alpha and its colour by brightness. A missing image raises "image doesnt exist".
int ccDrawOnPixmap(const platform::ImagePtr& image, int frame, const platform::PixmapPtr& pixmap,
                   int x, int y, float alpha, float brightness);

// ---- Draws cut to a rectangle of the screen -----------------------------------------------------

// The frame drawn at (x, y) with the viewport set to the rectangle; the viewport is then the
// whole screen again.
int ccCopyRect(const platform::ImagePtr& image, int x, int y, int width, int height, int frame);
// Frame 0 of the image, top-left at (x, y), cut to the view rectangle and shifted by the offsets.
int ccClipImageToViewport(const platform::ImagePtr& image, float x, float y, float viewX,
                          float viewY, float viewWidth, float viewHeight, int offsetX, int offsetY);
