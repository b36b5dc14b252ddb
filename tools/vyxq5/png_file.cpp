// PNG output through libpng. libpng reports failures by a long jump to the setjmp of the call that failed; each
// entry point sets its own, and nothing with a destructor lives in those frames.
#include "tools/vyxq5/png_file.h"

#include <csetjmp>

namespace vyxq5 {

CPngWriter::~CPngWriter() {
  if (m_file) Discard();
}

void CPngWriter::Discard() {
  if (m_png) png_destroy_write_struct(&m_png, m_info ? &m_info : nullptr);
  m_png = nullptr;
  m_info = nullptr;
  if (m_file) std::fclose(m_file);
  m_file = nullptr;
  std::remove(m_path.c_str());
}

bool CPngWriter::Open(const std::string& path, int width, int height, std::string& error) {
  m_path = path;
  m_width = width;
  m_height = height;
  error = "cannot write " + path;
  if (width < 1 || height < 1) return false;
  m_file = std::fopen(path.c_str(), "wb");
  if (!m_file) return false;
  m_png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (m_png) m_info = png_create_info_struct(m_png);
  if (!m_info || setjmp(png_jmpbuf(m_png))) {
    Discard();
    return false;
  }
  png_set_user_limits(m_png, 0x7fffffffU, 0x7fffffffU);
  png_init_io(m_png, m_file);
  png_set_IHDR(m_png, m_info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(m_png, 1);  // previews are large and mostly flat: speed matters more than size
  png_write_info(m_png, m_info);
  m_row.resize(3 * static_cast<std::size_t>(width));
  error.clear();
  return true;
}

bool CPngWriter::WriteRows(const vyx::CRasterCanvas& canvas) {
  if (!m_png || m_failed || canvas.Width() != m_width || m_written + canvas.Height() > m_height) {
    m_failed = true;
    return false;
  }
  if (setjmp(png_jmpbuf(m_png))) {
    m_failed = true;
    return false;
  }
  for (int y = 0; y < canvas.Height(); ++y) {
    const vyx::ColorRef* pixels = canvas.Row(y);
    png_byte* out = m_row.data();
    for (int x = 0; x < m_width; ++x, out += 3) {
      const vyx::ColorRef c = pixels[x];
      out[0] = static_cast<png_byte>(c & 0xFF);
      out[1] = static_cast<png_byte>((c >> 8) & 0xFF);
      out[2] = static_cast<png_byte>((c >> 16) & 0xFF);
    }
    png_write_row(m_png, m_row.data());
    ++m_written;
  }
  return true;
}

bool CPngWriter::Close(std::string& error) {
  error = "cannot write " + m_path;
  if (!m_png || m_failed || m_written != m_height) {
    Discard();
    return false;
  }
  if (setjmp(png_jmpbuf(m_png))) {
    Discard();
    return false;
  }
  png_write_end(m_png, nullptr);
  png_destroy_write_struct(&m_png, &m_info);
  m_png = nullptr;
  m_info = nullptr;
  const bool closed = std::fclose(m_file) == 0;
  m_file = nullptr;
  if (!closed) {
    std::remove(m_path.c_str());
    return false;
  }
  error.clear();
  return true;
}

}  // namespace vyxq5
