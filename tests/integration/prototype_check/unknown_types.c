/* Return types chkprotogen does not know: no line yields a check. */
MAKE_INTRINSIC_S("text_width", text_width, SIZE_TYPE),
MAKE_INTRINSIC_II("ratio", ratio, FLOAT_TYPE),
