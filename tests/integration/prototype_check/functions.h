/* The C functions behind the intrinsics of the tables beside this file. */
#ifndef PROTOTYPE_CHECK_FUNCTIONS_H
#define PROTOTYPE_CHECK_FUNCTIONS_H
int text_width(char *text);
char *first_word(char *text);
void set_flag(int *on);
double ratio(int *a, int *b);
#endif
