/* The C functions behind the consumer's intrinsics. */
#ifndef CONSUMER_INTRINSICS_H
#define CONSUMER_INTRINSICS_H
int line_width(char *text);
char *first_word(char *text);
int is_reserved(char *word);
#endif
