#pragma once

#include <QLatin1String>

// Keys of an action's parameters in its action data, and of a handler's event value.
namespace KVActionKey {
inline const QLatin1String TimelineId("timeline_id");
inline const QLatin1String ElementId("element_id");
inline const QLatin1String SceneId("scene_id");
inline const QLatin1String Time("time");
inline const QLatin1String Speed("speed");
inline const QLatin1String Volume("volume");
inline const QLatin1String Text("text");
inline const QLatin1String Url("url");
inline const QLatin1String NewWindow("new_window");
inline const QLatin1String TransDefault("trans_default");
inline const QLatin1String TransType("trans_type");
inline const QLatin1String TransDuration("trans_duration");
inline const QLatin1String TransEasing("trans_easing");
inline const QLatin1String TransDirection("trans_direction");
inline const QLatin1String FunctionId("function_id");
inline const QLatin1String Duration("duration");
// Event value of triggers and playback items: the time on the timeline at which they fire.
inline const QLatin1String ActionTime("action_time");
} // namespace KVActionKey
