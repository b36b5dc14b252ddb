// Writing raster canvases as one 8-bit RGB PNG file, band after band, so that tall pictures need no memory of
// their full size.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <png.h>

#include "common/seams/draw_canvas.h"

namespace vyxq5 {

class CPngWriter {
 public:
  CPngWriter() = default;
  CPngWriter(const CPngWriter&) = delete;
  CPngWriter& operator=(const CPngWriter&) = delete;
  ~CPngWriter();

  // Creates the file for a picture of width x height pixels. False with a one-line reason.
  bool Open(const std::string& path, int width, int height, std::string& error);
  // Appends the canvas's rows (its width must be the picture's); false once writing failed.
  bool WriteRows(const vyx::CRasterCanvas& canvas);
  // Ends the file. False with a one-line reason when any write failed or rows are missing; the file is removed then.
  bool Close(std::string& error);

 private:
  void Discard();

  std::string m_path;
  std::FILE* m_file = nullptr;
  png_structp m_png = nullptr;
  png_infop m_info = nullptr;
  std::vector<png_byte> m_row;
  int m_width = 0, m_height = 0, m_written = 0;
  bool m_failed = false;
};

}  // namespace vyxq5
