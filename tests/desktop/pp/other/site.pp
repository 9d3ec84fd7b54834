node 'web01.example.com', 'web02.example.com' {
  include ntp
  include nginx

  nginx::resource::server { 'www.example.com':
    www_root => '/srv/www',
  }
}

node default {
  notify { "No role for ${facts['networking']['fqdn']}": }
}
