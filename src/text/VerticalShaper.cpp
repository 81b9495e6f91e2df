#include "text/VerticalShaper.h"

#include <hb.h>

#include <QByteArray>

#include <cmath>

namespace sorvel {

namespace {

// HarfBuzz positions are kept in 1/64 pixel.
constexpr double subpixels = 64.0;

struct TableSource {
    QRawFont font;
};

hb_blob_t* referenceTable(hb_face_t*, hb_tag_t tag, void* userData)
{
    const auto* source = static_cast<const TableSource*>(userData);
    const char name[5] = {static_cast<char>((tag >> 24) & 0xFF), static_cast<char>((tag >> 16) & 0xFF),
                          static_cast<char>((tag >> 8) & 0xFF), static_cast<char>(tag & 0xFF), 0};
    auto* table = new QByteArray(source->font.fontTable(name));
    if (table->isEmpty()) {
        delete table;
        return nullptr;
    }
    return hb_blob_create(table->constData(), static_cast<unsigned>(table->size()), HB_MEMORY_MODE_READONLY, table,
                          [](void* data) { delete static_cast<QByteArray*>(data); });
}

} // namespace

struct VerticalShaper::Handles {
    hb_face_t* face = nullptr;
    hb_font_t* font = nullptr;
    hb_buffer_t* buffer = nullptr;
    hb_language_t japanese = nullptr;

    ~Handles()
    {
        hb_buffer_destroy(buffer);
        hb_font_destroy(font);
        hb_face_destroy(face);
    }
};

VerticalShaper::VerticalShaper(const QRawFont& font) : m_rawFont(font), m_hb(std::make_unique<Handles>())
{
    auto* source = new TableSource{font};
    m_hb->face =
        hb_face_create_for_tables(referenceTable, source, [](void* data) { delete static_cast<TableSource*>(data); });
    m_hb->font = hb_font_create(m_hb->face);
    const int scale = static_cast<int>(std::lround(font.pixelSize() * subpixels));
    hb_font_set_scale(m_hb->font, scale, scale);
    m_hb->buffer = hb_buffer_create();
    m_hb->japanese = hb_language_from_string("ja", -1);
    m_em = font.pixelSize();
    hb_font_extents_t extents{};
    if (hb_font_get_h_extents(m_hb->font, &extents) && extents.ascender > extents.descender) {
        m_ascent = extents.ascender / subpixels;
        m_descent = -extents.descender / subpixels;
    } else {
        m_ascent = m_em * 0.88;
        m_descent = m_em * 0.12;
    }
}

VerticalShaper::~VerticalShaper() = default;

std::shared_ptr<const VerticalShaper> VerticalShaper::of(const QRawFont& font)
{
    // A few fonts a thread: the chosen one and the fallbacks its text needs.
    thread_local std::vector<std::shared_ptr<const VerticalShaper>> recent;
    for (const auto& shaper : recent) {
        if (shaper->m_rawFont == font)
            return shaper;
    }
    auto shaper = std::make_shared<const VerticalShaper>(font);
    if (recent.size() >= 8)
        recent.erase(recent.begin());
    recent.push_back(shaper);
    return shaper;
}

ShapedRun VerticalShaper::shape(QStringView text, qsizetype start, qsizetype length, bool vertical) const
{
    ShapedRun run;
    if (length <= 0)
        return run;
    hb_buffer_t* buffer = m_hb->buffer;
    hb_buffer_reset(buffer);
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(text.utf16()), static_cast<int>(text.size()),
                        static_cast<unsigned>(start), static_cast<int>(length));
    hb_buffer_guess_segment_properties(buffer);
    hb_buffer_set_direction(buffer, vertical ? HB_DIRECTION_TTB : HB_DIRECTION_LTR);
    hb_buffer_set_language(buffer, m_hb->japanese);
    hb_shape(m_hb->font, buffer, nullptr, 0);

    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, nullptr);
    run.glyphs.reserve(count);
    double pen = 0;
    for (unsigned i = 0; i < count; ++i) {
        const hb_glyph_position_t& p = positions[i];
        ShapedGlyph glyph;
        glyph.glyph = infos[i].codepoint;
        glyph.cluster = static_cast<int>(infos[i].cluster);
        glyph.pen = pen;
        glyph.offset = QPointF(p.x_offset / subpixels, -p.y_offset / subpixels);
        pen += vertical ? -p.y_advance / subpixels : p.x_advance / subpixels;
        run.glyphs.push_back(glyph);
    }
    run.advance = pen;
    return run;
}

} // namespace sorvel
