// The Info page: its four groups of the port's settings, frame, signals and
// buffers, the line error group, and the Timer2 refresh that fills them.
#include "views/info/info_page.h"

#include <tuple>
#include <utility>

#include "views/info/info_texts.h"

namespace {

constexpr int label_left = 10, row_top = 20, row_height = 22, field_height = 19;

void field_style(ui::StaticText& f)
{
    f.set_border(ui::StaticBorder::Single);
    f.set_color(ui::colors::info_bk);
}

// A label and its field on row i of a group.
void row(ui::Label& label, ui::StaticText& field, int i, int label_width, int field_width)
{
    const int top = row_top + i * row_height;
    label.set_bounds(label_left, top + 2, label_width, field_height - 2);
    field.set_bounds(label_left + label_width, top, field_width, field_height);
    field_style(field);
}

// Sets the field only when the text changed, so an unchanged page costs no repaint.
void show(ui::StaticText& field, const std::string& text)
{
    if (field.caption() != text) field.set_caption(text);
}

}  // namespace

InfoPage::InfoPage(ui::TabSheet& sheet, SerialLink& link, const PortSettings& record)
    : GBset(&sheet, "GBset", " COM port settings: "),
      GBfmt(&sheet, "GBfmt", " Data format info: "),
      GBsig(&sheet, "GBsig", " Control signals: "),
      GBbuf(&sheet, "GBbuf", " COM port buffers: "),
      GBerr(&sheet, "GBerr", " Line errors: "),
      sheet_(sheet),
      link_(link),
      record_(record)
{
    layout();
}

void InfoPage::layout()
{
    constexpr int gap = 8, box_top = 8, caption_room = 28;
    auto height_for = [](int rows) { return caption_room + rows * row_height; };

    GBset.set_bounds(gap, box_top, 236, height_for(6));
    row(Lipn, STipn, 0, 80, 140);
    row(Libdr, STibdr, 1, 80, 140);
    row(Listp, STistp, 2, 80, 140);
    row(Lipar, STipar, 3, 80, 140);
    row(Lidbit, STidbit, 4, 80, 140);
    row(Lifctrl, STifctrl, 5, 80, 140);

    GBfmt.set_bounds(gap, box_top + height_for(6) + gap, 236, height_for(4));
    row(Lfifrm, STfifrm, 0, 80, 140);
    row(Lfibitr, STfibitr, 1, 80, 140);
    row(Lfibyter, STfibyter, 2, 80, 140);
    row(Lfiusg, STfiusg, 3, 80, 140);

    const int middle = gap + 236 + gap;
    GBsig.set_bounds(middle, box_top, 196, height_for(6));
    row(LcsCTS, STcsCTS, 0, 50, 130);
    row(LcsRTS, STcsRTS, 1, 50, 130);
    row(LcsDSR, STcsDSR, 2, 50, 130);
    row(LcsDTR, STcsDTR, 3, 50, 130);
    row(LcsRI, STcsRI, 4, 50, 130);
    row(LcsCD, STcsCD, 5, 50, 130);

    GBbuf.set_bounds(middle, box_top + height_for(6) + gap, 196, height_for(2));
    row(Lctxb, STctxb, 0, 62, 50);
    row(Lcrxb, STcrxb, 1, 62, 50);
    // "/" and the queue size right of each count.
    for (auto [slash, size, i] : {std::tuple{&Lctxbs, &STctxbs, 0}, std::tuple{&Lcrxbs, &STcrxbs, 1}}) {
        const int top = row_top + i * row_height;
        slash->set_bounds(label_left + 62 + 50 + 3, top + 2, 8, field_height - 2);
        size->set_bounds(label_left + 62 + 50 + 12, top, 58, field_height);
        field_style(*size);
    }

    GBerr.set_bounds(middle + 196 + gap, box_top, 196, height_for(5));
    row(LleFrm, STleFrm, 0, 70, 110);
    row(LleOvr, STleOvr, 1, 70, 110);
    row(LlePar, STlePar, 2, 70, 110);
    row(LleBrk, STleBrk, 3, 70, 110);
    row(LleRxo, STleRxo, 4, 70, 110);
}

void InfoPage::refresh()
{
    if (!record_.settings_loaded) return;
    if (sheet_.page_control().active_page() != &sheet_) return;
    refresh_settings();
    // Disconnected, the signal and buffer fields keep what they showed last.
    if (link_.connected()) refresh_port();
    // After the snapshot, whose ClearCommError may just have counted some.
    refresh_errors();
}

void InfoPage::refresh_settings()
{
    const PortSettings& s = record_;
    show(STipn, info_port_text(link_.connected(), s.port_num));
    show(STibdr, info_baud_text(s.port_baud));
    show(STistp, info_stop_text(s.port_stop));
    if (const char* parity = info_parity_text(s.port_parity)) show(STipar, parity);
    show(STidbit, info_data_bits_text(s.port_bit));
    show(STifctrl, info_flow_text(s.port_tx_handshake, s.port_rx_handshake));
    const FrameFigures f = frame_figures(s.port_baud, s.port_stop, s.port_parity, s.port_bit);
    show(STfifrm, frame_length_text(f));
    show(STfibitr, frame_bitrate_text(f));
    show(STfibyter, frame_byterate_text(f));
    show(STfiusg, frame_usage_text(f));
}

void InfoPage::refresh_port()
{
    PortDcb dcb;
    PortComStat stat;
    std::uint32_t modem = 0;
    const int status = link_.port_status(&dcb, &stat, &modem);
    // Code 3: no modem status (a port without modem lines), but the queues
    // and the comm state were read. Any other failure skips this tick only.
    if (status != 0 && status != 3) return;
    const std::pair<ui::StaticText*, std::uint32_t> modem_lines[] = {
        {&STcsCTS, PORT_MS_CTS_ON}, {&STcsDSR, PORT_MS_DSR_ON}, {&STcsRI, PORT_MS_RING_ON}, {&STcsCD, PORT_MS_RLSD_ON}};
    for (auto [field, bit] : modem_lines)
        show(*field, status == 0 ? modem_line_text(modem, bit) : modem_line_unknown_text);
    const LinkSettings& running = link_.settings();
    const ComLines& lines = link_.com_lines();
    const std::int32_t rx_handshake = running.port.port_rx_handshake;
    if (const char* t = flow_line_text(rx_handshake, 1, stat.cbInQue, dcb.XonLim, dcb.XoffLim, lines.rts))
        show(STcsRTS, t);
    if (const char* t = flow_line_text(rx_handshake, 2, stat.cbInQue, dcb.XonLim, dcb.XoffLim, lines.dtr))
        show(STcsDTR, t);
    show(STcrxb, queue_count_text(stat.cbInQue));
    show(STctxb, queue_count_text(stat.cbOutQue));
    show(STcrxbs, queue_size_text(running.port.port_rx_size));
    show(STctxbs, queue_size_text(running.tx_queue_size));
}

void InfoPage::refresh_errors()
{
    const LineErrorCounts c = link_.line_errors_read();
    show(STleFrm, queue_count_text(c.framing));
    show(STleOvr, queue_count_text(c.overrun));
    show(STlePar, queue_count_text(c.parity));
    show(STleBrk, queue_count_text(c.breaks));
    show(STleRxo, queue_count_text(c.rx_overflow));
}
