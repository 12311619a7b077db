#include "model/VM4_FreeText_Class.h"

#include "foundations/VM4_BinaryStream.h"

TFreeText::TFreeText() { Clear(); }

void TFreeText::Clear() {
    Text.clear();
    X = 0;
    Y = 0;
    Colour = 0;
    FontSize = DefaultFontSize;
    Style = 0;
    Angle = 0;
    Selected = false;
    SelectStartX = 0;
    SelectStartY = 0;
}

void TFreeText::CopyFreeText(const TFreeText& source) {
    Text = source.Text;
    X = source.X;
    Y = source.Y;
    Colour = source.Colour;
    FontSize = source.FontSize;
    Style = source.Style;
    Angle = source.Angle;
}

void TFreeText::WriteRecord(TByteWriter& writer) const {
    writer.WriteNotes(Text, TextCapacity);
    writer.WriteInt32(X);
    writer.WriteInt32(Y);
    writer.WriteInt32(Colour);
    writer.WriteInt32(FontSize);
    writer.WriteByte(Style);
    writer.WriteInt32(Angle);
}

void TFreeText::ReadRecord(TByteReader& reader) {
    Text = reader.ReadNotes(TextCapacity);
    X = reader.ReadInt32();
    Y = reader.ReadInt32();
    Colour = reader.ReadInt32();
    FontSize = reader.ReadInt32();
    Style = reader.ReadByte();
    Angle = reader.ReadInt32();
}
