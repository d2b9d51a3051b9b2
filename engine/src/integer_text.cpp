// integer_text
