// The skinned-window module's graphics layer: a small flat interface of
// handles and statuses in the manner of GDI+, over our own code. Images are
// decoded from memory with libpng and libjpeg (platform/image.h) into
// 32-bit ARGB bitmaps; drawing composes them with straight (not
// premultiplied) alpha; text goes through the registered TextRasteriser
// (skin/text.h). Also the global-memory blocks and the stream over them
// that images are loaded from.
//
// Every object is made by one call and released by exactly one other
// (DisposeImage, DeleteGraphics, DeleteFont...); handles are opaque
// pointers, nullptr standing for "no object". LiveObjects() counts what is
// not released yet, so tests can see that each is released once. The
// pixel storage of a disposed image is kept for the next bitmaps: a
// skinned window composes a whole frame of its size at every change, and
// storage mapped anew each time would cost more than the drawing.
//
// GUI thread only, like the windows the module draws.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace skin::gdip {

// Results, numbered as the statuses the module's routines pass back.
enum class Status : int {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  NotImplemented = 6,
  WrongState = 8,
  UnknownImageFormat = 13,
  FontFamilyNotFound = 14,
  GdiplusNotInitialized = 18,
};

using Argb = std::uint32_t;  // 0xAARRGGBB, alpha not premultiplied

// Pixel format of the frames the module composes: 32 bits, ARGB.
inline constexpr int kPixelFormat32bppArgb = 0x0026200A;

// Units of fonts and pens.
enum class Unit : int { World = 0, Display = 1, Pixel = 2, Point = 3 };

// Font style bits.
inline constexpr int kFontStyleBold = 1;
inline constexpr int kFontStyleItalic = 2;
inline constexpr int kFontStyleUnderline = 4;
inline constexpr int kFontStyleStrikeout = 8;

// String format flags the module uses, and alignments (0 near, 1 centre,
// 2 far).
inline constexpr int kStringFormatNoFitBlackBox = 0x0004;
inline constexpr int kStringFormatNoWrap = 0x1000;

// A 16-byte identifier (a frame dimension of an image).
struct Guid {
  std::uint8_t bytes[16] = {};
};

struct RectF {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;
};

// Opaque objects.
struct Image;
struct Graphics;
struct Brush;
struct Pen;
struct FontFamily;
struct Font;
struct StringFormat;

// ---- Start-up ---------------------------------------------------------------

// Starts the layer for the process and gives a token; it is never shut
// down. Every other call answers GdiplusNotInitialized before it.
Status Startup(std::uint32_t* token);
bool Started();

// ---- Global memory and streams ---------------------------------------------

// A block of memory as the module's image loading holds it. `movable`
// blocks may grow (a stream writing into one grows it).
struct MemoryBlock;
MemoryBlock* GlobalAlloc(bool movable, std::size_t size);
void* GlobalLock(MemoryBlock* block);  // nullptr for no block
void GlobalUnlock(MemoryBlock* block);
std::size_t GlobalSize(const MemoryBlock* block);  // 0 for no block
// Frees the block; returns nullptr as the system call does on success.
MemoryBlock* GlobalFree(MemoryBlock* block);

// A stream over a block. With `deleteOnRelease` its Release also frees the
// block; otherwise the block must outlive the stream's reads.
struct Stream;
Status CreateStreamOnHGlobal(MemoryBlock* block, bool deleteOnRelease, Stream** stream);
void ReleaseStream(Stream* stream);
// The bytes of the stream's block from its start; the block must exist.
std::span<const std::uint8_t> StreamBytes(const Stream* stream);
// Appends to the stream (growing its block) — what a writer of images does.
Status WriteStream(Stream* stream, std::span<const std::uint8_t> bytes);

// ---- Images and bitmaps -----------------------------------------------------

// Decodes a PNG or JPEG from the stream's bytes.
Status LoadImageFromStream(Stream* stream, Image** image);
// A new bitmap, every pixel 0 (transparent black); only the 32-bit ARGB
// format is made. `stride` is ignored (the layer chooses it).
Status CreateBitmapFromScan0(int width, int height, int stride, int format, Image** bitmap);
Status DisposeImage(Image* image);
Status GetImageDimension(Image* image, float* width, float* height);
Status GetImageWidth(Image* image, unsigned* width);
Status GetImageHeight(Image* image, unsigned* height);
// Still images have no time dimension: selecting a frame of one answers
// InvalidParameter and changes nothing.
Status ImageSelectActiveFrame(Image* image, const Guid& dimension, unsigned index);
// The pixels of a bitmap, top row first, for presenting and for tests.
const std::vector<Argb>* ImagePixels(const Image* image);
// Disposes of the bitmap and hands its pixels over as a layered window's
// frame: read-only and shared from then on, each pixel as drawing the
// bitmap onto a clear surface gives it (one with no alpha is clear). Empty
// for no bitmap. The storage comes back to the layer for later bitmaps
// when the last holder lets go of it.
std::shared_ptr<const std::vector<Argb>> DisposeImageIntoFrame(Image* bitmap);

// ---- Drawing ----------------------------------------------------------------

Status GetImageGraphicsContext(Image* image, Graphics** graphics);
Status DeleteGraphics(Graphics* graphics);
// `image` stretched to the rectangle.
Status DrawImageRect(Graphics* graphics, Image* image, float x, float y, float width, float height);
// The part (srcX, srcY, srcWidth, srcHeight) of `image`, 1:1, at (x, y).
Status DrawImagePointRect(Graphics* graphics, Image* image, float x, float y, float srcX,
                          float srcY, float srcWidth, float srcHeight, Unit srcUnit);

Status CreateSolidFill(Argb colour, Brush** brush);
Status DeleteBrush(Brush* brush);
Status FillRectangle(Graphics* graphics, Brush* brush, float x, float y, float width, float height);

Status CreatePen1(Argb colour, float width, Unit unit, Pen** pen);
Status DeletePen(Pen* pen);
// The outline of x..x+width by y..y+height, both ends included.
Status DrawRectangle(Graphics* graphics, Pen* pen, float x, float y, float width, float height);
// One pixel wide, from (x1, y1) up to (x2, y2), the last pixel left out.
Status DrawLine(Graphics* graphics, Pen* pen, float x1, float y1, float x2, float y2);

// ---- Text -------------------------------------------------------------------

// A family among the fonts the text rasteriser knows; "宋体" and the other
// Windows CJK faces are known wherever a CJK font is installed. No
// collection: the installed fonts. Fails with FontFamilyNotFound when the
// rasteriser does not know the name (or none is registered).
Status CreateFontFamilyFromName(std::u16string_view name, const void* collection,
                                FontFamily** family);
Status DeleteFontFamily(FontFamily* family);
Status CreateFont(const FontFamily* family, float emSize, int style, Unit unit, Font** font);
Status DeleteFont(Font* font);
Status GetFontStyle(const Font* font, int* style);
Status GetFontSize(const Font* font, float* size);
Status GetFontUnit(const Font* font, Unit* unit);
Status GetFontHeight(const Font* font, const Graphics* graphics, float* height);

Status CreateStringFormat(int flags, int language, StringFormat** format);
Status DeleteStringFormat(StringFormat* format);
Status SetStringFormatAlign(StringFormat* format, int align);
Status SetStringFormatLineAlign(StringFormat* format, int align);

// Draws `text` (UTF-16) in the layout rectangle with the brush's colour.
Status DrawString(Graphics* graphics, std::u16string_view text, const Font* font,
                  const RectF& layout, const StringFormat* format, const Brush* brush);

// ---- Accounting -------------------------------------------------------------

// Objects made and not yet released, of every kind together (images,
// graphics, brushes, pens, families, fonts, formats, memory blocks,
// streams).
int LiveObjects();

}  // namespace skin::gdip
