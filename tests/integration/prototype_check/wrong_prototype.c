/* The line of first_word claims an integer argument; first_word takes a
 * string. */
MAKE_INTRINSIC_S("text_width", text_width, INT_TYPE),
MAKE_INTRINSIC_I("first_word", first_word, STRING_TYPE),
MAKE_INTRINSIC_I("set_flag", set_flag, VOID_TYPE),
