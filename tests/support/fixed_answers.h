// The fixed answers of the component operations that the plug-in leaves to
// its interface classes, as a host sees them by slot. One table, read by the
// g++-built tests and by the platform-ABI host alike: plain data, no library.
#pragma once

namespace fixed_answers {

// Whose operation: plugin_interface's, counted from 1 after
// unknown_interface's five, or the attribute's or creator's own, counted
// from 1 after plugin_interface's 200.
enum class Of { plugin, own };

enum class Answer {
    integer,  // a 32-bit integer
    boolean,  // a bool
    nothing,  // no answer and no action
    record,   // writes value into byte offset of the record it is handed first, answers the record's address
};

// arguments: how many the host passes before the reserved pointer, the
// record, or a position (a Vec3 by reference) where position_first, among them.
struct Operation {
    Of of;
    int number;
    int arguments;
    Answer answer;
    int value;
    int offset;
    bool position_first = false;
};

// plugin_interface: operations 2 to 89 answer the integer 0, but for these
// and for the handlers each component defines (1, 26, 28, 29). 90 on are
// reserved.
inline constexpr Operation kPlugin[] = {
    {Of::plugin, 32, 0, Answer::integer, 36088, 0},  // the SDK version
    // The generic operations G1 to G8.
    {Of::plugin, 49, 0, Answer::boolean, 0, 0},
    {Of::plugin, 50, 0, Answer::boolean, 0, 0},
    {Of::plugin, 51, 0, Answer::boolean, 0, 0},
    {Of::plugin, 52, 0, Answer::boolean, 0, 0},
    {Of::plugin, 53, 2, Answer::boolean, 1, 0},
    {Of::plugin, 54, 3, Answer::boolean, 1, 0, true},
    {Of::plugin, 55, 3, Answer::boolean, 1, 0},
    {Of::plugin, 56, 2, Answer::boolean, 1, 0},
    {Of::plugin, 74, 4, Answer::nothing, 0, 0},  // G9
};
inline constexpr int kPluginHandlers[] = {1, 26, 28, 29};
constexpr int kLastPluginOperation = 89;

// The creator answers G2 otherwise; every other generic operation as above.
inline constexpr Operation kCreatorG2 = {Of::plugin, 50, 0, Answer::boolean, 1, 0};

// The attribute interface's own operations 2 to 19; 20 on are reserved.
inline constexpr Operation kAttribute[] = {
    {Of::own, 2, 2, Answer::boolean, 0, 0},  {Of::own, 3, 2, Answer::boolean, 0, 0},
    {Of::own, 4, 1, Answer::record, 1, 0},   {Of::own, 5, 1, Answer::record, 0, 0},
    {Of::own, 6, 1, Answer::record, 0, 0},   {Of::own, 7, 2, Answer::record, 1, 0},
    {Of::own, 8, 2, Answer::nothing, 0, 0},  {Of::own, 9, 1, Answer::integer, 1, 0},
    {Of::own, 10, 3, Answer::integer, 0, 0}, {Of::own, 11, 6, Answer::record, 1, 24},
    {Of::own, 12, 2, Answer::integer, 1, 0}, {Of::own, 13, 9, Answer::integer, 0, 0},
    {Of::own, 14, 2, Answer::integer, 0, 0}, {Of::own, 15, 2, Answer::integer, 0, 0},
    {Of::own, 16, 1, Answer::record, 0, 0},  {Of::own, 17, 1, Answer::boolean, 0, 0},
    {Of::own, 18, 1, Answer::record, 0, 0},  {Of::own, 19, 1, Answer::boolean, 0, 0},
};
constexpr int kFirstReservedAttribute = 20;

// The creator interface's own operations 2 to 12; 13 on are reserved.
inline constexpr Operation kCreator[] = {
    {Of::own, 2, 0, Answer::boolean, 0, 0},  {Of::own, 3, 0, Answer::boolean, 0, 0},
    {Of::own, 4, 0, Answer::boolean, 0, 0},  {Of::own, 5, 0, Answer::boolean, 0, 0},
    {Of::own, 6, 2, Answer::boolean, 1, 0},  {Of::own, 7, 3, Answer::boolean, 1, 0, true},
    {Of::own, 8, 3, Answer::boolean, 1, 0},  {Of::own, 9, 2, Answer::boolean, 1, 0},
    {Of::own, 10, 1, Answer::boolean, 1, 0}, {Of::own, 11, 2, Answer::nothing, 0, 0},
    {Of::own, 12, 0, Answer::boolean, 0, 0},
};
constexpr int kFirstReservedCreator = 13;

enum class Component { main, attribute, creator };

// The first reserved operation, which raises the integer 0 like every later
// one up to 200; 0 where the component has no operations of that kind.
constexpr int first_reserved(Component component, Of of) {
    if (of == Of::plugin) return kLastPluginOperation + 1;
    return component == Component::attribute ? kFirstReservedAttribute
           : component == Component::creator ? kFirstReservedCreator
                                              : 0;
}

// The tabled answer of the component's operation into answer; false for the
// handlers and the reserved operations, which answer otherwise.
constexpr bool fixed_answer(Component component, Of of, int number, Operation& answer) {
    if (number < 2 || number >= first_reserved(component, of)) return false;
    if (of == Of::own) {
        if (component == Component::attribute)
            for (const Operation& o : kAttribute)
                if (o.number == number) answer = o;
        if (component == Component::creator)
            for (const Operation& o : kCreator)
                if (o.number == number) answer = o;
        return true;
    }
    for (int handler : kPluginHandlers)
        if (handler == number) return false;
    answer = {Of::plugin, number, 0, Answer::integer, 0, 0};
    for (const Operation& o : kPlugin)
        if (o.number == number) answer = o;
    if (component == Component::creator && number == kCreatorG2.number) answer = kCreatorG2;
    return true;
}

}  // namespace fixed_answers
