// check_digit
