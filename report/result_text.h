#pragma once
// "結果のテキスト表示" and the viewer's "再表示", without the windows.
#include "app/host.h"
#include "app/simulation_state.h"
#include "result_table.h"

#include <functional>
#include <optional>
#include <string>

namespace kestrel {

// What the commands need of the text viewer window.
class ResultViewer {
  public:
    virtual ~ResultViewer() = default;
    virtual void setRangeFields(const std::string& firstX, const std::string& lastX,
                                const std::string& firstY, const std::string& lastY) = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void setTable(const std::string& text) = 0;
    virtual void showViewer() = 0;
};

inline const std::string kProgressCaption = "テキスト生成中";
std::string ProgressCaption(int j, int ny);

// loadViewer creates the viewer when it does not exist and returns it.
// "結果のテキスト表示".
void ShowResultText(const SimulationState& m, Host& host,
                    const std::function<ResultViewer&()>& loadViewer);

// The redisplay range from the four range fields: exchanged, raised to 1,
// limited to nx / ny and to the field arrays; fractions rounded (halves to
// even). nullopt when no field exists to list.
std::optional<TableRange> RedisplayRange(const SimulationState& m, const std::string& firstX,
                                         const std::string& lastX, const std::string& firstY,
                                         const std::string& lastY);

// Every cell of the mesh that the field arrays hold; nullopt without a field.
std::optional<TableRange> WholeTableRange(const SimulationState& m);

inline const std::string kNoResultNote = "\r\n\r\n未だ計算実行されていない可能性があります.";

// What a table operation says when there is no field to list: the index
// failure the table's loops meet without one, then the note.
std::string NoResultMessage(const std::string& operation);

} // namespace kestrel
