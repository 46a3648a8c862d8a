/* The C functions behind the consumer's intrinsics, exported by its shared
 * library. Arguments arrive by address: an integer as int *, a string as
 * char *. */
#ifndef CONSUMER_INTRINSICS_H
#define CONSUMER_INTRINSICS_H
int line_width(char *text);
char *column_widths(char *text);
char *pad_cell(char *text);
void set_ambiguous_wide(int *on);
char *first_word(char *text);
int is_reserved(char *word);
#endif
