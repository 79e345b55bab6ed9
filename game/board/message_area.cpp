#include "game/board/message_area.h"

namespace {

constexpr float LINE_HEIGHT = 15.0f;

} // namespace

TMessageAreaPtr TMessageArea::Create(int x, int y, int lines) {
    auto area = std::make_shared<TMessageArea>();
    area->x = x;
    area->y = y;
    area->h = LINE_HEIGHT;
    area->Message.resize(static_cast<std::size_t>(lines > 0 ? lines : 0));
    return area;
}

int TMessageArea::AddNew(const std::string& text, const TColorPtr& colour) {
    if (Message.empty())
        return 0;
    std::size_t slot = 0;
    while (slot < Message.size() && Message[slot])
        ++slot;
    if (slot == Message.size()) {
        // Full: the labels keep their places and shadows and take over the text and colour of
        // the line below, so only the bottom line is made anew.
        for (std::size_t k = 0; k + 1 < Message.size(); ++k) {
            Message[k]->Text = Message[k + 1]->Text;
            Message[k]->Color = Message[k + 1]->Color;
        }
        slot = Message.size() - 1;
    }
    auto label = TLabel::CreateSpecial(text, static_cast<float>(x),
                                       static_cast<float>(y) + h * static_cast<float>(slot), 0, 0);
    label->Color = colour;
    label->Shadow = TShadow::Create(1.0f, 1.0f, 0.5f);
    Message[slot] = label;
    return 0;
}

int TMessageArea::Clear() {
    for (auto& label : Message)
        label.reset();
    return 0;
}

int TMessageArea::Draw() {
    for (const auto& label : Message)
        if (label)
            label->Draw(0.0f, 0.0f);
    return 0;
}
