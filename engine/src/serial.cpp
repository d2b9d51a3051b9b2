// serial
