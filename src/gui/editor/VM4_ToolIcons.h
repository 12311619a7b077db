#pragma once

#include <QIcon>

// Toolbar pictures, drawn with the drawing's own symbols so that a tool's button
// shows what the tool puts on the drawing.
namespace ToolIcons {

QIcon NewGrid();
QIcon Email();
QIcon Print();
QIcon Labelling();
QIcon Units();
QIcon GridView();
QIcon ChangeFluid();
QIcon ZoomOut();
QIcon ZoomIn();
QIcon ZoomFit();
QIcon ShowInfo();
QIcon Pan();
QIcon Drag();
QIcon Selection();
QIcon JoinPoint();
QIcon Pipes();
QIcon Fittings();
QIcon Component();
QIcon FlowControl();
QIcon Pump();
QIcon Tank();
QIcon DemandPressure();
QIcon DemandFlow();
QIcon CopyDefaultPipe();
QIcon FreeText();
QIcon Delete();
QIcon Cut();
QIcon Copy();
QIcon Paste();
QIcon Undo();
QIcon Redo();
QIcon AppIcon();

}  // namespace ToolIcons
