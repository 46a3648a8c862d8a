/* Every line tells the truth, but one is in the old form, which chkprotogen
 * warns about and does not check. */
MAKE_INTRINSIC_S("text_width", text_width, INT_TYPE),
MAKE_INTRINSIC_S("first_word", first_word, STRING_TYPE),
MAKE_INTRINSIC("columns", text_width, INT_TYPE, 1),
MAKE_INTRINSIC_I("set_flag", set_flag, VOID_TYPE),
MAKE_INTRINSIC_II("ratio", ratio, DOUBLE_TYPE),
